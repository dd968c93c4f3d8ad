# Shared by the whole-process benchmark scripts (sourced, not run): a work folder in
# memory, ImageMagick's private policy, and interleaved rounds with median and minimum.
# The machine may be shared: each round runs every tool once in turn, so a busy spell
# falls on all of them, and the median and the minimum of ROUNDS rounds are reported.

# A work folder in /dev/shm where there is one: no tool has the disk's write-back timed
# (vermeo's save ends with fsync, which costs nothing on tmpfs and nothing else does it).
bench_work() {
  base=/dev/shm
  [ -d "$base" ] && [ -w "$base" ] || base=${TMPDIR:-/tmp}
  WORK=$(mktemp -d "$base/vermeo-bench.XXXXXX")
  trap 'rm -rf "$WORK"' EXIT
  export QT_QPA_PLATFORM=offscreen
  bench_magick_policy "$WORK"
}

# The photo-like test picture (plasma noise, blurred) as BMP and as PPM: WIDTH HEIGHT.
bench_picture() {
  # Plasma made at a quarter of the size and enlarged: at full size it takes minutes.
  [ -f "$WORK/src.bmp" ] || "$CONVERT" -size "$(($1 / 4))x$(($2 / 4))" -seed 7 plasma:fractal -blur 0x1 -resize "$1x$2!" \
    -type truecolor BMP3:"$WORK/src.bmp"
  [ -f "$WORK/src.ppm" ] || "$CONVERT" "$WORK/src.bmp" "$WORK/src.ppm"
}

# ImageMagick reads a policy in DIR/magick instead of the system's, whose 256 MiB of memory is
# too little for 12000 x 8000 and whose limits other machines set differently.
bench_magick_policy() {
  mkdir -p "$1/magick"
  cat >"$1/magick/policy.xml" <<'POLICY'
<policymap>
  <policy domain="resource" name="memory" value="8GiB"/>
  <policy domain="resource" name="map" value="8GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
  <policy domain="resource" name="disk" value="16GiB"/>
  <policy domain="resource" name="width" value="64KP"/>
  <policy domain="resource" name="height" value="64KP"/>
</policymap>
POLICY
  export MAGICK_CONFIGURE_PATH="$1/magick"
}

ROUNDS=${ROUNDS:-7}
CONVERT=${CONVERT:-/usr/bin/convert}

bench_now() { date +%s.%N; }
# The wall time of one run of the shell command $1, in seconds.
bench_once() {
  t0=$(bench_now)
  sh -c "$1" >/dev/null 2>&1 || { echo "failed: $1" >&2; exit 1; }
  t1=$(bench_now)
  echo "$t1 - $t0" | bc -l
}
# "median minimum" of the numbers on stdin.
bench_stats() {
  sort -g | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.5f %.5f", m, v[1] }'
}
# ROUNDS interleaved rounds of the shell commands given; sets M1 N1, M2 N2, ... to the
# median and minimum of each command.
bench_rounds() {
  n=$#
  i=1
  while [ $i -le $n ]; do eval "T$i=''"; i=$((i + 1)); done
  for _ in $(seq "$ROUNDS"); do
    i=1
    for cmd in "$@"; do
      t=$(bench_once "$cmd")
      eval "T$i=\"\$T$i $t\""
      i=$((i + 1))
    done
  done
  i=1
  while [ $i -le $n ]; do
    eval "set -- \$(echo \$T$i | tr ' ' '\n' | bench_stats)"
    eval "M$i=$1; N$i=$2"
    i=$((i + 1))
  done
}
bench_ratio() { echo "$1 / $2" | bc -l; }
