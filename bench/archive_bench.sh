#!/usr/bin/env bash
# Benchmarks the archive tool against gzip on the same data in one run:
# `add` at level 9 against `gzip -9`, `extract` against `gzip -d` (200 MB
# generated corpus, warm cache, best of two), and the peak memory of
# extracting a 1 GB archive. Prints the figures and the ratios.
#
#   bench/archive_bench.sh [BUILD_DIR] [CORPUS_MB] [BIG_MB]
set -euo pipefail

build=${1:-build/archive}
corpus_mb=${2:-200}
big_mb=${3:-1024}
tool=$(realpath "$build/tools/archive/pellmore-archive")
src=$(realpath "$(dirname "$0")/../src")
work=$(mktemp -d "${TMPDIR:-/tmp}/pellmore-archive-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# The corpus: 2 MB files, half text made of the words of the kit's headers,
# a quarter structured binary (records with counters and some noise), a
# quarter random bytes, as an installation's files mix documents, program
# files and already compressed data.
python3 - "$corpus_mb" "$src" <<'EOF'
import glob, os, random, sys
mb = int(sys.argv[1])
random.seed(7)
words = []
for header in sorted(glob.glob(sys.argv[2] + '/*/*.h')):
    words += open(header, errors='replace').read().split()
os.makedirs('corpus')
for i in range(mb // 2):
    kind = i % 4
    if kind < 2:
        out, size = [], 0
        while size < 2 << 20:
            line = ' '.join(random.choice(words) for _ in range(random.randint(4, 14))) + '\n'
            out.append(line)
            size += len(line)
        data = ''.join(out).encode()[:2 << 20]
    elif kind == 2:
        rec = bytearray()
        for n in range((2 << 20) // 16):
            rec += n.to_bytes(4, 'little') + bytes([n & 0xFF] * 4) + random.randbytes(2) + b'QDE\0\0\0'
        data = bytes(rec)
    else:
        data = random.randbytes(2 << 20)
    open(f'corpus/f{i:04d}.dat', 'wb').write(data)
EOF

files=(corpus/*.dat)
TIMEFORMAT=%R
best() {  # best wall time of two runs of "$@"
  local a b
  a=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  b=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  python3 -c "print(min($a, $b))"
}

gzip_compress() { for f in "${files[@]}"; do gzip -9 -c "$f" > "$f.gz"; done; }
tool_compress() { "$tool" add corpus.1 --new --level 9 "${files[@]}"; }
gzip_extract() { mkdir -p gz-out; for f in "${files[@]}"; do gzip -d -c "$f.gz" > "gz-out/${f#corpus/}"; done; }
tool_extract() { "$tool" extract corpus.1 -d tool-out; }

t_gz_c=$(best gzip_compress)
t_tool_c=$(best tool_compress)
t_gz_d=$(best gzip_extract)
t_tool_d=$(best tool_extract)
cmp -s gz-out/f0001.dat tool-out/f0001.dat && cmp -s corpus/f0003.dat tool-out/f0003.dat
"$tool" verify corpus.1 >/dev/null

size_src=$(du -cb "${files[@]}" | tail -1 | cut -f1)
size_gz=$(cat corpus/*.gz | wc -c)
size_tool=$(stat -c %s corpus.1)

echo "corpus: ${#files[@]} files, $size_src bytes"
printf 'compress   gzip -9 %6.2f s  pellmore-archive add -9 %6.2f s  ratio %.2fx (target <= 1.2)\n' \
  "$t_gz_c" "$t_tool_c" "$(python3 -c "print($t_tool_c / $t_gz_c)")"
printf 'extract    gzip -d %6.2f s  pellmore-archive extract %6.2f s  ratio %.2fx (target <= 1.2)\n' \
  "$t_gz_d" "$t_tool_d" "$(python3 -c "print($t_tool_d / $t_gz_d)")"
printf 'size       gzip %d bytes  archive %d bytes\n' "$size_gz" "$size_tool"

# Peak memory extracting a 1 GB archive (stored members of random data, so
# the archive is as large as its contents).
rm -rf corpus tool-out gz-out corpus.1
mkdir big
for i in $(seq 1 $((big_mb / 256))); do head -c $((256 << 20)) /dev/urandom > "big/part$i"; done
"$tool" add big.1 --new --level none big/part* >/dev/null
rm -rf big
/usr/bin/time -v "$tool" extract big.1 -d big-out 2> time.txt >/dev/null
peak_kb=$(grep 'Maximum resident set size' time.txt | awk '{print $NF}')
printf 'memory     extracting a %d-byte archive: peak RSS %d KB (target < 16384 KB)\n' \
  "$(stat -c %s big.1)" "$peak_kb"
