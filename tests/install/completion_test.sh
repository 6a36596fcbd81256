#!/usr/bin/env bash
# The bash completion of velarix-cli against the program's own help, with the
# two helpers it takes from the bash-completion package written out here, so
# that the test needs no more than bash.
set -uo pipefail
bin=$1
completion=$2
PATH=$bin:$PATH

_init_completion() {
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
}
_filedir() { COMPREPLY=(FILES); }
source "$completion"

failed=0
expect() {  # expect "offered words" word...
    local want=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _velarix_cli
    if [ "${COMPREPLY[*]}" != "$want" ]; then
        echo "completion of '$*': got '${COMPREPLY[*]}', want '$want'" >&2
        failed=1
    fi
}

expect "convert fields read set-field verify write" velarix-cli eeprom ""
expect "write write-eeprom" velarix-cli --settings folder jtag w
# An option's value is not a word of the command.
expect "--address" velarix-cli firmware upload -i fw.bin --a
expect "--flow --from" velarix-cli eeprom convert -i in.bin --f
expect "English Español" velarix-cli --language ""
expect "FILES" velarix-cli eeprom read -o ""
exit $failed
