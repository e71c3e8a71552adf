# bash completion for tintaro: its options, and the effect names and LEDs they take.
_tintaro() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
    --effect)
        # Any letter case, as tintaro takes them; spaces escaped.
        local name typed=${cur//\\/}
        COMPREPLY=()
        while IFS= read -r name; do
            [[ ${name,,} == "${typed,,}"* ]] && COMPREPLY+=("${name// /\\ }")
        done < <(tintaro --list-effects 2>/dev/null)
        return ;;
    --blink)
        # A comma list: complete the name after the last comma.
        local done=${cur%"${cur##*,}"}
        COMPREPLY=($(compgen -P "$done" -W "num caps scroll" -- "${cur##*,}"))
        compopt -o nospace 2>/dev/null
        return ;;
    --led)
        COMPREPLY=($(compgen -W "num caps scroll" -- "$cur"))
        return ;;
    --set)
        local done=${cur%"${cur##*,}"}
        COMPREPLY=($(compgen -P "$done" -W "num=on num=off caps=on caps=off scroll=on scroll=off" \
                     -- "${cur##*,}"))
        compopt -o nospace 2>/dev/null
        return ;;
    --play|--morse|--speed|--for|--count|--unit)
        return ;;
    esac
    COMPREPLY=($(compgen -W "--list-effects --effect --blink --play --morse --set --state --stop
                             --speed --for --count --led --unit --help --version" -- "$cur"))
}
complete -F _tintaro tintaro
