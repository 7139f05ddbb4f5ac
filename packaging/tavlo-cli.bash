# bash completion for tavlo-cli: commands, the options each command takes, and file names where
# a command or option wants one.

_tavlo_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="find patch preview info settings"
    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        case "$word" in
            find | patch | preview | info | settings)
                command=$word
                break
                ;;
        esac
    done

    case "$prev" in
        --text-file | --settings)
            _filedir
            return
            ;;
        --out)
            _filedir png
            return
            ;;
        --search)
            mapfile -t COMPREPLY < <(compgen -W "WARNING WARNUNG ATTENTION ATTENZIONE ATENCIÓN" -- "$cur")
            return
            ;;
        --match | --text | --mag | --get)
            return
            ;;
    esac

    local options
    case "$command" in
        find) options="--search --settings" ;;
        patch) options="--search --match --text --text-file --no-backup --dry-run --settings" ;;
        preview) options="--search --match --text --mag --out --settings" ;;
        info) options="--settings" ;;
        settings) options="--settings --get" ;;
        *)
            mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
    elif [[ $command != settings ]]; then
        _filedir rgn
    fi
} &&
    complete -F _tavlo_cli tavlo-cli
