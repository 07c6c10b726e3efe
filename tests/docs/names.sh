#!/usr/bin/env bash
# Every name that README.md and docs/*.md give in backticks or on an indented
# command line must exist in the tree, so the pages cannot drift from it:
# - a path whose first folder is one of the project's (not a build folder)
#   exists, up to its first placeholder (TARGET, <arch>, ...); globs match;
# - the --options of a command that starts with one of the project's scripts
#   or with zolt7707-capture appear in that script or the tool's source; an
#   option on its own appears in scripts/, tools/, tests/, bench/ or .ci/;
# - every ZOLT_* name appears in the tree's sources, scripts or CMake files;
# - a test name (test_*, demo_programs, fuzz_corpus_*) is registered in a
#   CMakeLists.txt; a CMake name (zolt_*) or a code name like IMGFade or
#   benchPresent is in the sources;
# - the pages' relative links and pictures exist.
# Usage: names.sh [SOURCE-DIR]. Prints each name that has gone; exit status 1 then.
set -uo pipefail
cd "${1:-$(dirname "$0")/../..}" || exit 2
pages=(README.md docs/*.md)
failures=0
gone() {
    echo "GONE: $1: $2"
    failures=$((failures + 1))
}
# Is the text anywhere in these folders, the pages themselves left out?
inTree() {
    local text=$1
    shift
    grep -rqwF --exclude='*.md' --exclude-dir=node_modules --exclude-dir=docs -- "$text" "$@" 2>/dev/null
}
# The registered test names, as patterns (a ${...} in a name stands for any word).
tests=$(grep -rhoE --include=CMakeLists.txt 'zolt_add_test\(NAME [A-Za-z0-9_${}]+' tests |
    sed -E 's/.* //; s/\$\{[^}]*\}/[A-Za-z0-9]+/g')

checkPath() {
    local page=$1 path=${2%/} prefix="" part
    case ${path%%/*} in build* | '' | . | .. | *:*) return ;; esac
    [ -e "${path%%/*}" ] || return
    if [[ $path == *'*'* ]]; then
        compgen -G "$path" >/dev/null || gone "$page" "$path"
        return
    fi
    IFS=/ read -ra parts <<<"$path"
    for part in "${parts[@]}"; do
        [[ $part =~ ^[A-Z_]+$|[\<\>]|\.\.\. ]] && break
        prefix+=${prefix:+/}$part
    done
    [ -e "$prefix" ] || gone "$page" "$path"
}

checkSpan() {
    local page=$1 span=$2 first word owner=""
    read -r first _ <<<"$span"
    for word in $(grep -oE 'ZOLT_[A-Z0-9_]+' <<<"$span"); do
        inTree "$word" src tools tests bench scripts cmake packaging web .ci CMakeLists.txt ||
            gone "$page" "$word"
    done
    case $first in
    zolt7707-capture | zolt7707-capture.exe) owner=tools/capture/capture.cpp ;;
    */*)
        checkPath "$page" "$first"
        [ -f "$first" ] && owner=$first
        ;;
    esac
    if [ "$first" = "$span" ]; then
        if [[ $span =~ ^(test_[a-z0-9_]+|demo_programs|fuzz_corpus_[A-Za-z0-9]+)$ ]]; then
            grep -qxE "$tests" <<<"$span" || gone "$page" "test $span"
        elif [[ $span =~ ^zolt_[a-z0-9_]+$ ]]; then
            inTree "$span" src tools tests bench cmake packaging CMakeLists.txt || gone "$page" "$span"
        elif [[ $span =~ ^([A-Z][A-Z0-9]*[A-Z][a-z]|[a-z]+[A-Z])[A-Za-z0-9]*$ ]]; then
            inTree "$span" src tools bench tests web || gone "$page" "$span"
        fi
    fi
    for word in $span; do
        [[ $word =~ ^--[a-z] ]] || continue
        word=${word%%=*}
        if [ -n "$owner" ]; then
            grep -qwF -- "$word" "$owner" || gone "$page" "$first $word"
        elif [[ $first == --* ]]; then
            inTree "$word" scripts tools tests bench .ci || gone "$page" "$word"
        fi
    done
}

for page in "${pages[@]}"; do
    # Inline code spans (which may run across lines), then indented code lines.
    while IFS= read -r span; do
        checkSpan "$page" "$span"
    done < <(tr '\n' ' ' <"$page" | grep -oE '`[^`]+`' | tr -d '`'; grep -E '^    +[^ ]' "$page" | sed -E 's/^ +//')
    # Relative links and pictures, from the page's own folder.
    while IFS= read -r target; do
        target=${target%%#*}
        [ -z "$target" ] || [ -e "$(dirname "$page")/$target" ] || gone "$page" "link $target"
    done < <(grep -oE '\]\([^)]+\)|src="[^"]+"' "$page" | sed -E 's/^\]\(|^src="//; s/[)"]$//' | grep -vE '^[a-z]+:')
done
[ "$failures" -eq 0 ] || exit 1
echo "every name of the README and docs/ exists"
