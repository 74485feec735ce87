#!/usr/bin/env python3
# Generates a distribution for the benchmarks: FILES files of MB megabytes in
# all, in folders of 100 under OUT (sizes spread log-normally; half text cut
# from the kit's headers, a quarter structured binary, a quarter random
# bytes), and a form FORM with the demo form's specifiers and installer and
# one file group per folder. Seeded, so every run makes the same files.
#
#   make_distribution.py FILES MB SRC OUT FORM DEMO_FORM [OPTIONS]
#
# Options, for distributions beyond what one archive can carry:
#   --per-archive N   at most N files per archive (UniqueIDs run 0..1999 per
#                     archive): the first N go into "files.1", each further N
#                     into "partK.1" beside it, a group of groups taken from
#                     the installation's source directory
#   --group-size N    files per folder and group (100)
#   --shared-every K  every K-th file keeps a shared-DLL count
#   --random          every file random bytes of the same size (incompressible)
import argparse, glob, os, random, sys
ap = argparse.ArgumentParser()
for name in ('nfiles', 'mb'):
    ap.add_argument(name, type=int)
for name in ('src', 'out', 'form', 'demo'):
    ap.add_argument(name)
ap.add_argument('--per-archive', type=int, default=0)
ap.add_argument('--group-size', type=int, default=100)
ap.add_argument('--shared-every', type=int, default=0)
ap.add_argument('--random', action='store_true')
opt = ap.parse_args()
nfiles, mb, src, out, form, demo = opt.nfiles, opt.mb, opt.src, opt.out, opt.form, opt.demo
per_group = opt.group_size
per_archive = opt.per_archive or nfiles
if opt.per_archive and (per_archive > 2000 or per_archive % per_group):
    sys.exit('--per-archive must be at most 2000 and a multiple of --group-size')
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
if opt.random:
    weights = [1.0] * nfiles
scale = (mb << 20) / sum(weights)
groups = (nfiles + per_group - 1) // per_group
for i in range(nfiles):
    g = i // per_group
    d = os.path.join(out, f'd{g:02d}')
    os.makedirs(d, exist_ok=True)
    n = max(1, int(weights[i] * scale))
    kind = i % 4
    if opt.random:
        with open(os.path.join(d, f'f{i:04d}.dat'), 'wb') as f:
            while n:
                chunk = min(n, 16 << 20)
                f.write(os.urandom(chunk))
                n -= chunk
        continue
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
groups_per_archive = per_archive // per_group
for a in range(1, (nfiles + per_archive - 1) // per_archive):
    body.append(f"""  object arc{a + 1}: TInstallFileGroup
    ArchiveFileType = psInstallSource
    ArchiveFile = '\\part{a + 1}.1'
    Container = Install1
    DestDirType = psContainerDestDir
    DestDir = '\\Dist'
    Order = {a + 1}
  end
""")
for g in range(groups):
    a = g // groups_per_archive
    container, dest = (f'arc{a + 1}', '') if a else ('Install1', '\\Dist')
    body.append(f"""  object grp{g:02d}: TInstallFileGroup
    ArchiveFileType = psContainerArchiveFile
    Container = {container}
    DestDirType = psContainerDestDir
    DestDir = '{dest}\\d{g:02d}'
  end
""")
for i in range(nfiles):
    g = i // per_group
    shared = '\n    UpdateDLLCounter = True' if opt.shared_every and i % opt.shared_every == 0 else ''
    body.append(f"""  object f{i:04d}: TInstallFile
    ArchiveFileType = psContainerArchiveFile
    Container = grp{g:02d}
    DestDirType = psContainerDestDir
    DestName = 'f{i:04d}.dat'
    FileName = 'f{i:04d}.dat'
    IncludeFromDir = 'C:\\Dist\\d{g:02d}'
    Order = {i % per_group + 1}
    UniqueID = {i % min(per_archive, 2000)}{shared}
  end
""")
body.append('end\n')
open(form, 'w').write(''.join(body))
