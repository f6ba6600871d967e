#pragma once

// What ambersel-eval --help says: what the program does, every option and field, its exit
// statuses.

namespace ambersel::cli {

inline constexpr const char* kDescription =
    "Evaluates frequency-level lists with the Ambersel acceptance test, one FILE after the other.\n"
    "A list (*.ASC) holds one \"frequency,level\" point per line: the frequency in Hz, the level\n"
    "in dBuV. FILE \"-\" reads the list from standard input; reach a file named \"-\" as "
    "\"./-\".\n";

inline constexpr const char* kFooter =
    R"help(OUTPUT (standard output)
  Without options: one line per FILE. With one FILE it is exactly the result line the
  dialog shows, "PASS : F = 0.1210" or "FAIL : F = 1.2104", and nothing for a file that
  cannot be read. With several FILEs each line is that result line, a tab and the path,
)help"
#if defined(_WIN32)
    R"help(  or "ERROR", a tab and the path. Paths are printed as typed, backslashes and all;
  control characters in a path are printed as \xHH.
)help"
#else
    R"help(  or "ERROR", a tab and the path. Control characters and backslashes in a path are
  printed as \xHH and \\.
)help"
#endif
    R"help(  The test passes when 0 <= F <= 1. Numbers are always written with a full stop,
  whatever the locale.

  --top N       after each result line, the margin and the N points that contribute
                most to F:
                  "  margin -0.99 dB: every level must come down by 0.99 dB"
                  "  1. point 412: 2100000 Hz, 96.3 dBµV, term 0.0123457, 12.34% of F"
                (point = position in the list, from 1; term = the point's addend of F;
                margin = 20 log10(1/F), rounded to 0.01 dB).
  --bands EDGES after each result line, F by frequency band between EDGES, Hz with
                k, M or G ("150k,1M,10M,30M"), or over the decades the list spans
                ("decades"); points outside the edges make bands of their own:
                  "  band 150 kHz - 1 MHz: 215 points, 92.33% of F, margin without
                   it +21.32 dB"
  --points      instead of the result lines, one CSV table with a header row and a row
                per point of every file: path, index, frequency_Hz, level_dBuV, the
                figure's intermediates, the point's term and running_F, F after that
                point. The last running_F of a file is its F, to the bit. For a point
                (x Hz, L dBuV): a = L/20, b = 10^a, V = b * 1e-6 (the level in volts),
                Z = 3.629e-05 * (1000 x)^0.5283 + 0.1087, w = 12.56637061 x / 1000,
                s = sqrt(1 + w^2), K = s V / (0.475166 Z), D = 0.135 x, term = K / D.
                Values are shortest round-trip decimals; inf, -inf, nan, -nan where not
                finite.
  --json        instead, one JSON array with one object per FILE, each on its own line:
                  path          the FILE argument (bytes that are not UTF-8 become U+FFFD)
                  verdict       "PASS", "FAIL" or "ERROR"
                  line          the result line; null for ERROR
                  figure        F as the shortest decimal that reads back to the same
                                single-precision float; null when F is not finite
                  figure_text   the same decimal as a string, or "inf", "-inf", "nan",
                                "-nan" when F is not finite; null for ERROR
                  figure_bits   F's IEEE single-precision bits, "0x3DF7E5F5"; null for ERROR
                  point_count   the number of points read
                  stop          where reading ended: {"reason": "end_of_file",
                                "malformed_item", "read_error" or "file_changed" (written
                                to while it was read), "line": the line where the
                                malformed item begins or null, "excerpt": the start of its
                                text or null}; null when the file did not open
                  error         why the file gave no verdict; null otherwise
                  margin_db     the margin: 20 log10(1/F), the change of every level in dB
                                that brings F to exactly 1 (positive: to spare,
                                negative: over the limit), rounded to 0.01 dB; null
                                where F is 0, negative or not finite
                  bands         F by frequency band, between the --bands edges or over
                                the decades the list spans: [{place ("between", "below",
                                "above", "no_frequency"), lower_hz, upper_hz (null
                                where open), point_count, sum_of_terms, share (of F),
                                margin_without_db (the margin without the band)}]
                  top           with --top N: [{index, frequency, level, term, share}],
                                share = term / F, null when F is not finite or 0
                  points        with --points: [{index, frequency, level, a, b, V, Z, w, s,
                                K, D, term, running_figure}]
                Numbers inside top and points that are not finite are null.
  --plot FILE   also draws each list to FILE, an SVG or a PNG picture by its extension:
                level over a logarithmic frequency axis, each point coloured and sized by
                its share of F, the verdict, F and the margin in the title (20 log10(1/F),
                to 0.01 dB), where reading stopped, and under the plot the share of F of
                each frequency band (--bands, or the decades the list spans). {name} in
                FILE stands for the list's file name without extension ("stdin" for -):
                one picture per list. With several FILEs and no {name}, all lists with a
                verdict are drawn over one another on one picture, each in its own colour,
                with its verdict, F and margin in the legend and its own row of bands.
  --report FILE also writes the report for the record, a PDF or an HTML file by its
                extension: per list the result line, F and its bits, the margin, the
                points read and where reading stopped, the file's name, size,
                modification time and SHA-256, the program's version, the time of the
                evaluation, the picture, the ten largest contributors and the bands.
                With {name}, one report per list; without, one report of every list
                with a summary table first, a page per list.

PRODUCTION LOTS
  --files-from FILE  also evaluates the lists named in FILE ("-": standard input), one
                path per line after the FILE arguments; empty lines are skipped, a CR
                before the line end is not part of the path)help"
#if defined(_WIN32)
    R"help(. The list may be UTF-8, with
                or without a byte-order mark, UTF-16 (as PowerShell and Notepad write it)
                or in the console's code page (as cmd's "dir /b /s > lot42.txt" writes it):
                  dir /b /s lot42\*.ASC > lot42.txt
                  ambersel-eval --files-from lot42.txt --summary
)help"
#else
    R"help(:
                  find lot42 -name '*.ASC' | ambersel-eval --files-from - --summary
)help"
#endif
    R"help(  --jobs N      evaluates N lists at a time (default: one per processor core). Every
                output is the same bytes whatever N is, in the order the files were
                given.
  --summary     after the per-file lines, a block on the whole lot (with --json, the
                array becomes {"files": [...], "summary": {...}}):
                  lists given, passed, failed, unreadable
                  yield         passed of the readable lists, in percent
                  margin        min, 5th percentile, median, max over the lists that
                                have a margin (F > 0 and finite)
                  Cpk           mean / (3 s), s the sample standard deviation (n - 1)
                                of the margins: how many times three standard
                                deviations fit between the lot's mean margin and the
                                pass line at 0 dB. Above 1, nearly every unit of a
                                steady process passes; 1.33 is a common aim; below 1,
                                a visible share of units fails; at or below 0, the
                                mean itself fails. None for fewer than 2 margins or
                                when every margin is the same.
                  lowest        the 10 lists with the lowest margins, lowest first
                                (path, line, margin); a failing list without a
                                margin (F not finite or negative) counts as lowest,
                                ties keep the order given
                Percentiles interpolate linearly between the closest ranks: with the n
                margins sorted from 0, the p-th percentile lies at rank h = (n - 1) p /
                100, between the margins at floor(h) and floor(h) + 1 (as Python's
                statistics.quantiles(method="inclusive") and PERCENTILE.INC do).
                JSON numbers are rounded to six decimals (the same on every platform);
                in "lowest", margin_db is to 0.01 dB.
                With --plot FILE (no {name}), FILE is the lot's picture instead of one
                of every list: a histogram of the margins with the pass line at 0 dB,
                and the margin of each list in the order given, failures marked.
  --by-time     with --summary --plot, the trend over the files' modification times.
  --table FILE  also writes FILE, a CSV table with a row per list (RFC 4180: quoted
                where needed, CR LF line ends): path, verdict, line, figure,
                figure_bits, margin_db, point_count, stop, stop_line, size_bytes,
                modified (UTC, 2026-12-07T05:45:55Z), sha256, error. The table is
                written beside FILE and renamed over it once whole.

WARNINGS AND ERRORS (standard error)
  A list ends quietly at the first item that is not "number,number". When that cuts a
  file short, or a file gives no points at all, a warning says so:
    warning: run.ASC: read 2 points; stopped at line 3: 'end'
    warning: empty.ASC: read 0 points; the file holds no items
  A file that cannot be opened or read: "Error in the input file: PATH (reason)"; the
  other files are still evaluated.

EXIT STATUS
  0  every file passes
  1  at least one file fails
  2  a file or the file list cannot be opened or read, a plot, the report or the
     table cannot be written, the command line is wrong, or memory runs out; 2 wins
     over 1

LINUX AND WINDOWS
  Written to a file or a pipe, every output is the same bytes on both. On Windows, where
  no shell does it, ambersel-eval.exe expands * and ? in FILE and in --files-from lists
  itself, in folders too ("lots\*\*.ASC"), in name order without regard to case; a
  pattern that matches nothing is an error for it, as a missing file is. It prints paths
  as typed (Linux prints a backslash in a name as \\), writes to a console in wide
  characters, so that "dBµV" shows in any code page, and reads --files-from lists in
  UTF-8, UTF-16 or the console's code page.

EXAMPLES
)help"
#if defined(_WIN32)
    R"help(  In cmd, and in PowerShell alike (where Windows PowerShell 5.1 stores what > catches
  as UTF-16, not as the bytes the program wrote):
  ambersel-eval run.ASC
  ambersel-eval lab\*.ASC --json > verdicts.json
  ambersel-eval --top 5 run.ASC
  ambersel-eval --points run.ASC > points.csv
  ambersel-eval --plot "plots\{name}.png" lab\*.ASC
  ambersel-eval --plot before-after.png before.ASC after.ASC
  ambersel-eval --bands 150k,1M,10M,30M --report run.html run.ASC
  ambersel-eval --summary --table lot42.csv "C:\lab\lot 42\*.ASC"
  In cmd, a lot in folders of its own:
  dir /b /s lot42\*.ASC > lot42.txt
  ambersel-eval --files-from lot42.txt --summary --table lot42.csv
  In PowerShell:
  (Get-ChildItem lot42 -Recurse -Filter *.ASC).FullName > lot42.txt
  ambersel-eval --files-from lot42.txt --summary --table lot42.csv
  scan-device | ambersel-eval -)help";
#else
    R"help(  ambersel-eval run.ASC
  ambersel-eval lab/*.ASC --json > verdicts.json
  ambersel-eval --top 5 run.ASC
  ambersel-eval --points run.ASC > points.csv
  ambersel-eval --plot 'plots/{name}.png' lab/*.ASC
  ambersel-eval --plot before-after.png before.ASC after.ASC
  ambersel-eval --bands 150k,1M,10M,30M --report run.pdf run.ASC
  find lot42 -name '*.ASC' | ambersel-eval --files-from - --summary --table lot42.csv
  measure | ambersel-eval -)help";
#endif

}  // namespace ambersel::cli
