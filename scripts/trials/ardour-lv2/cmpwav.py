import wave, struct, sys, math
def read(p):
    w = wave.open(p); n = w.getnframes(); ch = w.getnchannels(); sw = w.getsampwidth(); raw = w.readframes(n)
    if sw == 3:
        vals = [int.from_bytes(raw[i:i+3], 'little', signed=True) / 8388608 for i in range(0, len(raw), 3)]
    elif sw == 2:
        vals = [v / 32768 for v in struct.unpack('<%dh' % (len(raw)//2), raw)]
    else:
        vals = list(struct.unpack('<%df' % (len(raw)//4), raw))
    return w.getframerate(), ch, sw, vals
ra, ca, sa, a = read(sys.argv[1]); rb, cb, sb, b = read(sys.argv[2])
print('format', ra, ca, 'ch', sa*8, 'bit', len(a)//ca, 'frames')
rms = lambda v: math.sqrt(sum(x*x for x in v)/len(v))
print('rms A %.2f dBFS, B %.2f dBFS' % (20*math.log10(rms(a)), 20*math.log10(rms(b))))
d = [abs(x-y) for x, y in zip(a, b)]
first = next((i for i, x in enumerate(d) if x > 0), None)
last = max((i for i, x in enumerate(d) if x > 0), default=None)
print('max diff', max(d), 'first differing frame', None if first is None else first // ca, 'last', None if last is None else last // ca)
