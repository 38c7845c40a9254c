#!/bin/sh
# The manual pages keep up with the programs: every option a --help lists is
# described in the page, and every kelvanectl command has its entry.
# Usage: check-man-pages.sh MAN_DIR KELVANECTL BOARD_SIM KELVANE
set -eu
man_dir=$1
kelvanectl=$2
board_sim=$3
kelvane=$4
status=0

# The options at the start of the option lines of a --help text: "-r", "--fo".
help_options() {
    sed -n 's/^  \(-[a-z], \)\{0,1\}\(--\{0,1\}[a-z][a-z-]*\).*/\2/p'
}

# check PAGE HELP_TEXT
check() {
    page=$man_dir/$1
    for option in $(printf '%s\n' "$2" | help_options | sort -u); do
        escaped=$(printf '%s' "$option" | sed 's/-/\\\\-/g')
        grep -q -- "$escaped\\(\$\\|[^a-z\\]\\)" "$page" || { echo "$1 does not describe $option"; status=1; }
    done
}

help=$("$kelvanectl" --help)
commands=$(printf '%s\n' "$help" | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\) .*/\1/p')
[ -n "$commands" ] || { echo "kelvanectl --help lists no command"; exit 1; }
for command in $commands; do
    grep -q "^\.B $command\$" "$man_dir/kelvanectl.1" || { echo "kelvanectl.1 has no entry for $command"; status=1; }
    help="$help
$("$kelvanectl" "$command" --help)"
done
check kelvanectl.1 "$help"
check kelvane-board-sim.1 "$("$board_sim" --help)"
check kelvane.1 "$(QT_QPA_PLATFORM=offscreen "$kelvane" --help)"
exit $status
