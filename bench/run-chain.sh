#!/bin/sh
# Chain-scale benchmark: builds bench_chain and vtxdemodb, writes a chain database once
# (cached under build/bench-data/, reused when present), then runs every report screen on it.
#
#   bench/run-chain.sh [--days N] [--branches N] [--bills-per-day N] [--build-dir DIR]
#                      [--pg CONNECTION [--pg-loaded]] [-- bench options]
#
# --pg: the same chain copied into that PostgreSQL database (its tables replaced; --pg-loaded
# when it holds the chain already), the screens run on it beside PostgreSQL alone.
#
# The bill summaries are installed in the database (an administrator's command on PostgreSQL,
# done here) so that the reports can be answered from them; bench_chain says per line which way.
#
# Defaults: a chain-year, 20 branches x 365 days x 600 bills a day (about 4.4 million bills;
# about 6 minutes to write, 10 GB). --days 30 gives a quick run. Bench options: --no-year,
# --no-export, --plans, --only REPORT.
set -e
days=365 branches=20 perday=600 build=build pg= pgloaded=
while [ $# -gt 0 ]; do
    case "$1" in
        --days) days=$2; shift 2 ;;
        --branches) branches=$2; shift 2 ;;
        --bills-per-day) perday=$2; shift 2 ;;
        --build-dir) build=$2; shift 2 ;;
        --pg) pg=$2; shift 2 ;;
        --pg-loaded) pgloaded=1; shift ;;
        --) shift; break ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
cd "$(dirname "$0")/.."
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target vtxdemodb bench_chain vtxhost
data=build/bench-data
mkdir -p "$data"
# A fixed last day keeps the cached file the same from run to run.
db="$data/chain-b$branches-d$days-p$perday.db"
if [ ! -f "$db" ]; then
    "$build/bin/vtxdemodb" --out "$db.part" --branches "$branches" --days "$days" \
        --bills-per-day "$perday" --last-day 2026-11-30
    mv "$db.part" "$db"
fi
# The bill summaries (vtxdemodb writes them; a file written before them gets them here).
[ -n "$pg" ] || QT_QPA_PLATFORM=offscreen "$build/bin/vtxhost" --db "$db" --install-summaries
if [ -n "$pg" ]; then
    [ -n "$pgloaded" ] || "$build/bin/vtxdemodb" --pg "$pg" --copy "$db"
    QT_QPA_PLATFORM=offscreen "$build/bin/vtxhost" --pg "$pg" --install-summaries
    uptime
    exec env QT_QPA_PLATFORM=offscreen "$build/bin/bench_chain" --pg "$pg" --export-dir "$data" "$@"
fi
uptime
QT_QPA_PLATFORM=offscreen "$build/bin/bench_chain" --db "$db" --export-dir "$data" "$@"
