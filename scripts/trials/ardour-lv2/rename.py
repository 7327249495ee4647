# Renames slot 7 in the compressor's bank as Ardour saved it (standing in for
# the editor, which LV2 hosts do not show yet); with --show, prints slot 7's
# name, slot 0's compression and the selection of every saved state.
import base64, glob, re, struct, sys

RECORD = 24 + 12 * 4  # name and twelve floats
states = sorted(glob.glob('/tmp/ardour-trial/sess/plugins/*/state*/state.ttl'))

def bank_of(text):
    m = re.search(r'brassel#bank> """(.*?)"""', text, re.S)
    return m, bytearray(base64.b64decode(m.group(1)))

if '--show' in sys.argv:
    for path in states:
        text = open(path).read()
        _, bank = bank_of(text)
        name = bytes(bank[5 + 7 * RECORD:5 + 7 * RECORD + 24]).rstrip(b'\0').decode()
        compression = struct.unpack('<f', bank[5 + 24 + 5 * 4:5 + 24 + 6 * 4])[0]
        selected = re.search(r'selectedProgram> "(\d+)"', text).group(1)
        print(f'{path}: slot 7 "{name}", slot 0 compression {compression:.4f}, selected {selected}')
else:
    path = states[-1]
    text = open(path).read()
    m, bank = bank_of(text)
    offset = 5 + 7 * RECORD
    print(f'{path}: slot 7 was "{bytes(bank[offset:offset + 24]).rstrip(bytes(1)).decode()}"')
    bank[offset:offset + 24] = b'Trial Renamed'.ljust(24, b'\0')
    open(path, 'w').write(text[:m.start(1)] + base64.b64encode(bank).decode() + text[m.end(1):])
