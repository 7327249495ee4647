# Renames slot 7 in the compressor's bank as Ardour saved it (standing in for
# the editor's name field); with --show, prints slot 7's name, the selected
# slot and slot 0's name and compression of every saved state. Ardour keeps
# the plug-in's states base64-encoded in the session file; the component
# state starts with "KvBS".
import base64, glob, re, struct, sys

RECORD = 24 + 12 * 4  # name and twelve floats
sessions = sorted(glob.glob('/tmp/ardour-vst3-trial/sess/*.ardour'))

def state_of(text):
    m = re.search(r'<vst3 [^>]*>.*?<chunk>(.*?)</chunk>', text, re.S)
    chunk = bytearray(base64.b64decode(m.group(1)))
    return m, chunk, chunk.index(b'KvBS')

def name_at(chunk, at, slot):
    offset = at + 12 + 5 + slot * RECORD
    return bytes(chunk[offset:offset + 24]).rstrip(b'\0').decode()

if '--show' in sys.argv:
    for path in sessions:
        _, chunk, at = state_of(open(path).read())
        selected = struct.unpack('<i', chunk[at + 8:at + 12])[0]
        compression = struct.unpack('<f', chunk[at + 17 + 24 + 5 * 4:at + 17 + 24 + 6 * 4])[0]
        print(f'{path}: slot 7 "{name_at(chunk, at, 7)}", selected {selected}, '
              f'slot 0 "{name_at(chunk, at, 0)}" compression {compression:.4f}')
else:
    path = '/tmp/ardour-vst3-trial/sess/sess.ardour'
    text = open(path).read()
    m, chunk, at = state_of(text)
    print(f'{path}: slot 7 was "{name_at(chunk, at, 7)}"')
    offset = at + 12 + 5 + 7 * RECORD
    chunk[offset:offset + 24] = b'Trial Renamed'.ljust(24, b'\0')
    open(path, 'w').write(text[:m.start(1)] + base64.b64encode(chunk).decode() + text[m.end(1):])
