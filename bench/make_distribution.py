#!/usr/bin/env python3
# Generates a distribution for the benchmarks: FILES files of MB megabytes in
# all, in folders of 100 under OUT (sizes spread log-normally; half text cut
# from the kit's headers, a quarter structured binary, a quarter random
# bytes), and a form FORM with the demo form's specifiers and installer and
# one file group per folder. Seeded, so every run makes the same files.
#
#   make_distribution.py FILES MB SRC OUT FORM DEMO_FORM
import glob, os, random, sys
nfiles, mb, src, out, form, demo = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5], sys.argv[6]
random.seed(11)
words = []
for header in sorted(glob.glob(src + '/*/*.h')):
    words += open(header, errors='replace').read().split()
# A pool of text to cut documents from (compresses like source text).
pool = []
size = 0
while size < 4 << 20:
    line = ' '.join(random.choice(words) for _ in range(random.randint(4, 14))) + '\n'
    pool.append(line)
    size += len(line)
pool = ''.join(pool).encode()
record = bytearray()
for n in range(1 << 16):
    record += n.to_bytes(4, 'little') + bytes([n & 0xFF] * 4) + random.randbytes(2) + b'QDE\0\0\0'
record = bytes(record)
# Sizes: a spread around the mean, scaled to the total.
weights = [random.lognormvariate(0, 1) for _ in range(nfiles)]
scale = (mb << 20) / sum(weights)
groups = (nfiles + 99) // 100
lines = []
for i in range(nfiles):
    g = i // 100
    d = os.path.join(out, f'd{g:02d}')
    os.makedirs(d, exist_ok=True)
    n = max(1, int(weights[i] * scale))
    kind = i % 4
    if kind < 2:
        at = random.randrange(0, len(pool) - 1)
        data = (pool[at:] + pool)[:n] if n < len(pool) else (pool * (n // len(pool) + 1))[:n]
    elif kind == 2:
        at = random.randrange(0, len(record) - 1)
        data = (record[at:] + record * (n // len(record) + 1))[:n]
    else:
        data = random.randbytes(n)
    open(os.path.join(d, f'f{i:04d}.dat'), 'wb').write(data)
# The form: the demo form's specifiers and installer, then one group per folder.
text = open(demo).read()
head = text[:text.index('  object grpEngine')]
body = [head]
for g in range(groups):
    body.append(f"""  object grp{g:02d}: TInstallFileGroup
    ArchiveFileType = psContainerArchiveFile
    Container = Install1
    DestDirType = psContainerDestDir
    DestDir = '\\Dist\\d{g:02d}'
  end
""")
for i in range(nfiles):
    g = i // 100
    body.append(f"""  object f{i:04d}: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grp{g:02d}
    DestDirType = psContainerDestDir
    DestName = 'f{i:04d}.dat'
    FileName = 'f{i:04d}.dat'
    IncludeFromDir = 'C:\\Dist\\d{g:02d}'
    Order = {i % 100 + 1}
    UniqueID = {i % 2000}
  end
""")
body.append('end\n')
open(form, 'w').write(''.join(body))
