// How the core tells a host what the user did: each format has one, which
// turns these into its own host's calls. Called on the thread the change was
// made on (the editor's, or the host's main thread), never on the audio thread.
#pragma once

class HostPort {
public:
    virtual ~HostPort() = default;
    // The user's gesture on a parameter begins or ends.
    virtual void beginEdit(int parameter) = 0;
    virtual void endEdit(int parameter) = 0;
    // A value the user set, for the host to record as automation.
    virtual void automate(int parameter, float value) = 0;
    // Program names or the selection changed: what the host shows may be stale.
    virtual void updateDisplay() = 0;
    // A control tracking a drag asks the host for an idle pass.
    virtual void idle() {}
};
