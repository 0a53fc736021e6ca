#!/usr/bin/env bash
# quorvel-cli's manual page against its --help: the page's lists hold exactly the commands and
# options the help gives, and its written parts (the examples) use no other.
#   man_page_test.sh CLI PAGE
set -euo pipefail
export LC_ALL=C
help=$("$1" --help)
text=$(sed '/^\.\\"/d; s/\\f[BIRP]//g; s/\\%//g; s/\\-/-/g' "$2")

expected=$(awk '/^(Commands|Options):$/ { on = 1; next } /^$/ { on = 0 }
                on && /^  [^ ]/ { print $1 }' <<<"$help" | sort)
listed=$(awk '/^\.TP/ { getline; print $1 }' <<<"$text" | sort)
status=0
if [[ $listed != "$expected" ]]; then
    echo "The page's lists differ from the commands and options of --help (< help, > page):"
    diff <(echo "$expected") <(echo "$listed") || true
    status=1
fi
unknown=$(comm -23 <(grep -o -e '--[a-z][a-z-]*' -e 'quorvel-cli [a-z]\+' <<<"$text" |
                     sed 's/^quorvel-cli //' | sort -u) <(echo "$expected"))
if [[ -n $unknown ]]; then
    echo "The page names commands or options that --help does not give: ${unknown//$'\n'/ }"
    status=1
fi
exit $status
