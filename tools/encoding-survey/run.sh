#!/usr/bin/env bash
# Measures how often the list reader takes a list file for the wrong
# encoding: dictionary words are written into thousands of small list files,
# in code page 932 and in UTF-8, and each is loaded through the real reader.
# Prints a Markdown table on stdout (build output goes to stderr).
#
#   tools/encoding-survey/run.sh
#
# The words come from mecab-ipadic: its source tables ship as text, give each
# word a cost learned from a tagged corpus (so the most frequent words can be
# taken), and span some 390,000 entries, place and person names among them,
# which is where the rare level-2 kanji are. The other candidates in Debian
# fall short: ipadic-common has the same words with ChaSen's coarser costs
# (two values cover 43 % of them), skkdic and kakasi-dic rank nothing, and
# unidic-mecab is a 1 GB download.
# The words are extracted at run time into the build folder, never committed.
#
# Environment: VELT_SURVEY_BUILD (build folder, default build).
set -euo pipefail
cd "$(dirname "$0")/../.."

bash scripts/deps.sh mecab-ipadic python3 >&2
build=${VELT_SURVEY_BUILD:-build}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$build" -DVELT_TOOLS=ON >&2
cmake --build "$build" -j"$jobs" --target encoding_survey >&2

words="$build/encoding-survey"
python3 tools/encoding-survey/words.py /usr/share/mecab/dic/ipadic "$words"
"$build/tools/encoding-survey/encoding_survey" "$words/common.txt" "$words/rare.txt" "$words/katakana.txt"
