/* A stand-in for the ALSA sequencer, preloaded into Qtractor on machines
 * whose kernel has no /dev/snd/seq: every sequencer call that needs the
 * device answers as a sequencer with no other clients would, so that
 * Qtractor opens its sessions. MIDI goes nowhere; audio (JACK) is untouched.
 * The record functions (sizes, getters, setters) stay libasound's own.
 * Built by run.sh:  cc -shared -fPIC -o alsaSeqStandIn.so alsaSeqStandIn.c */
#include <errno.h>
#include <poll.h>
#include <unistd.h>

typedef struct standInSequencer { int client; } snd_seq_t;

static snd_seq_t sequencer = {128};
static int nextPort = 0;
static int quiet[2] = {-1, -1};

int snd_seq_open(snd_seq_t** handle, const char* name, int streams, int mode) {
    (void)name, (void)streams, (void)mode;
    if (quiet[0] < 0 && pipe(quiet) != 0) return -errno;
    *handle = &sequencer;
    return 0;
}
int snd_seq_close(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_client_id(snd_seq_t* seq) { return seq->client; }
int snd_seq_set_client_name(snd_seq_t* seq, const char* name) { (void)seq, (void)name; return 0; }
int snd_seq_create_simple_port(snd_seq_t* seq, const char* name, unsigned caps, unsigned type) {
    (void)seq, (void)name, (void)caps, (void)type;
    return nextPort++;
}
int snd_seq_delete_simple_port(snd_seq_t* seq, int port) { (void)seq, (void)port; return 0; }
int snd_seq_alloc_queue(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_free_queue(snd_seq_t* seq, int queue) { (void)seq, (void)queue; return 0; }
int snd_seq_control_queue(snd_seq_t* seq, int queue, int type, int value, void* event) {
    (void)seq, (void)queue, (void)type, (void)value, (void)event;
    return 0;
}
int snd_seq_drain_output(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_drop_input(snd_seq_t* seq) { (void)seq; return 0; }
int snd_seq_drop_output(snd_seq_t* seq) { (void)seq; return 0; }
/* Nothing ever arrives. */
int snd_seq_event_input(snd_seq_t* seq, void** event) { (void)seq, (void)event; return -EAGAIN; }
int snd_seq_event_input_pending(snd_seq_t* seq, int fetch) { (void)seq, (void)fetch; return 0; }
int snd_seq_event_output(snd_seq_t* seq, void* event) { (void)seq, (void)event; return 0; }
int snd_seq_event_output_direct(snd_seq_t* seq, void* event) { (void)seq, (void)event; return 0; }
/* A descriptor that never becomes readable, for the input thread's poll. */
int snd_seq_poll_descriptors_count(snd_seq_t* seq, short events) { (void)seq, (void)events; return 1; }
int snd_seq_poll_descriptors(snd_seq_t* seq, struct pollfd* fds, unsigned space, short events) {
    (void)seq;
    if (space < 1) return 0;
    fds[0].fd = quiet[0];
    fds[0].events = events;
    fds[0].revents = 0;
    return 1;
}
/* No other clients, ports or subscriptions. */
int snd_seq_get_any_client_info(snd_seq_t* seq, int client, void* info) {
    (void)seq, (void)client, (void)info;
    return -ENOENT;
}
int snd_seq_get_any_port_info(snd_seq_t* seq, int client, int port, void* info) {
    (void)seq, (void)client, (void)port, (void)info;
    return -ENOENT;
}
int snd_seq_get_port_info(snd_seq_t* seq, int port, void* info) { (void)seq, (void)port, (void)info; return 0; }
int snd_seq_set_port_info(snd_seq_t* seq, int port, void* info) { (void)seq, (void)port, (void)info; return 0; }
int snd_seq_query_next_client(snd_seq_t* seq, void* info) { (void)seq, (void)info; return -ENOENT; }
int snd_seq_query_next_port(snd_seq_t* seq, void* info) { (void)seq, (void)info; return -ENOENT; }
int snd_seq_query_port_subscribers(snd_seq_t* seq, void* query) { (void)seq, (void)query; return -ENOENT; }
int snd_seq_subscribe_port(snd_seq_t* seq, void* subscription) { (void)seq, (void)subscription; return 0; }
int snd_seq_unsubscribe_port(snd_seq_t* seq, void* subscription) { (void)seq, (void)subscription; return 0; }
int snd_seq_remove_events(snd_seq_t* seq, void* what) { (void)seq, (void)what; return 0; }
/* The queue runs on JACK's clock in Qtractor; these only need to succeed. */
int snd_seq_get_queue_status(snd_seq_t* seq, int queue, void* status) { (void)seq, (void)queue, (void)status; return 0; }
int snd_seq_get_queue_tempo(snd_seq_t* seq, int queue, void* tempo) { (void)seq, (void)queue, (void)tempo; return 0; }
int snd_seq_set_queue_tempo(snd_seq_t* seq, int queue, void* tempo) { (void)seq, (void)queue, (void)tempo; return 0; }
int snd_seq_set_queue_timer(snd_seq_t* seq, int queue, void* timer) { (void)seq, (void)queue, (void)timer; return 0; }
