# Timing helpers for the whole-process benchmarks, sourced by them; they set $work, the folder that
# takes each run's output.

# One run of the command as "wall-seconds cpu-seconds" (user and system); its output goes to the
# work folder.
TIMEFORMAT='%R %U %S'
times_of() {
    local wall user system
    read -r wall user system < <({ time "$@" >"$work/out" 2>"$work/err"; } 2>&1 || true)
    awk -v w="$wall" -v u="$user" -v s="$system" 'BEGIN { printf "%.3f %.3f\n", w, u + s }'
}

# The median of column $1 of standard input.
median() {
    awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# The least of column $1: on a machine shared with other work, the run that met the least of it.
least() {
    awk -v c="$1" '{ print $c }' | sort -n | head -1
}
