# bash completion for tarvex: the commands, their options, the answers of --wahl, the windows
# of show and the actions of -e.

_tarvex_aktion() {
    # An action with arguments must stay one word: it is offered with an opening quote unless
    # the user already typed one. The names of controls are known only to the open window.
    local quote=\' aktion=$cur verb
    if [[ $cur == [\"\']* ]]; then
        quote=
        aktion=${cur:1}
    fi
    [[ $aktion == *" "* ]] && return
    for verb in type key click select leave print ok cancel; do
        [[ $verb == "$aktion"* ]] || continue
        case $verb in
            print | ok | cancel) COMPREPLY+=("$verb") ;;
            *)
                COMPREPLY+=("$quote$verb ")
                compopt -o nospace
                ;;
        esac
    done
}

_tarvex() {
    local cur prev words cword
    _init_completion || return

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W 'init show dump --help --version' -- "$cur"))
        return
    fi

    case ${words[1]} in
        init)
            ((cword == 2)) && _filedir -d
            ;;
        dump)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W '--json --help' -- "$cur"))
            else
                _filedir docx
            fi
            ;;
        show)
            case $prev in
                --db) _filedir 'sqlite|db'; return ;;
                --doc) _filedir docx; return ;;
                --script) _filedir; [[ -z $cur ]] && COMPREPLY+=(-); return ;;
                --wahl)
                    COMPREPLY=($(compgen -W 'neu 1 2 3 4 5 cursor schliessen' -- "$cur"))
                    return
                    ;;
                -e) _tarvex_aktion; return ;;
                --user | --rechnung | --cursor) return ;;
            esac
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W '--db --doc --user --rechnung --wahl --cursor -e
                    --script --help' -- "$cur"))
            else
                local i index=
                for ((i = 2; i < cword; i++)); do
                    [[ ${words[i]} == [0-4] && ${words[i - 1]} != -* ]] && index=1
                done
                [[ -z $index ]] && COMPREPLY=($(compgen -W '0 1 2 3 4' -- "$cur"))
            fi
            ;;
    esac
} &&
    complete -F _tarvex tarvex
