#!/bin/sh
# Installs one screensaver exported by Pelavor, or removes it again. The
# installer (made with makeself) runs this script from the folder it
# unpacked, which also holds "screensaver" (the program), "title" (the
# installer's name) and "file-name" (the program's name):
#
#   ./<name>.run                   installs
#   ./<name>.run -- --uninstall    removes exactly what the install added
#   ./<name>.run -- --user ...     a per-user install (and removal) also as root
#
# A user's install puts the program into ~/.local/bin; root's into
# /usr/local/bin, for everyone, unless --user is given. The screensaver
# daemons find it through
# - an entry "GL: ..." at the top of the "programs:" list of ~/.xscreensaver,
#   when that file exists (xscreensaver; a per-user install only: the line
#   for the users' own files is shown otherwise);
# - a desktop entry in applications/screensavers/ of the data folder
#   ($XDG_DATA_HOME, by default ~/.local/share; /usr/local/share for
#   everyone), where the Xfce and MATE screensavers look.
# What was added is listed in <data folder>/lumivexis/<program>/installed-files,
# beside a copy of this script that removes it without the installer:
#
#   sh ~/.local/share/lumivexis/<program>/uninstall.sh --uninstall

set -u

action=install
scope=
for argument in "$@"; do
    case $argument in
    --uninstall | uninstall) action=uninstall ;;
    --user) scope=user ;;
    *)
        echo "usage: $0 [--uninstall] [--user]" >&2
        exit 2
        ;;
    esac
done
if [ -z "$scope" ]; then
    if [ "$(id -u)" -eq 0 ]; then
        scope=system
    else
        scope=user
    fi
fi

here=$(cd -- "$(dirname -- "$0")" && pwd) || exit 1
title=$(cat -- "$here/title") || exit 1
file=$(cat -- "$here/file-name") || exit 1
: "${HOME:?HOME is not set}"

if [ "$scope" = system ]; then
    bin_dir=/usr/local/bin
    data_dir=/usr/local/share
else
    bin_dir=$HOME/.local/bin
    case ${XDG_DATA_HOME:-} in
    /*) data_dir=$XDG_DATA_HOME ;;
    *) data_dir=$HOME/.local/share ;;
    esac
fi
program=$bin_dir/$file
stem=${file%.scr}
desktop=$data_dir/applications/screensavers/lumivexis-$(printf '%s' "$stem" | tr -c 'A-Za-z0-9._-' '-').desktop
record_dir=$data_dir/lumivexis/$file
manifest=$record_dir/installed-files
xscreensaver=$HOME/.xscreensaver
# The program in shell quotes, as xscreensaver hands it to the shell; the
# resource file reads backslashes as escapes, so they are doubled.
command="'$(printf '%s' "$program" | sed "s/'/'\\\\''/g")'"
command=$(printf '%s' "$command" | sed 's/\\/\\\\/g')

records=

# Notes one thing the install added: "file PATH", "dir PATH" or
# "xscreensaver COMMAND".
record() {
    records="$records$1 $2
"
}

# Creates a folder and the missing ones above it, noting each.
make_dir() {
    if [ -d "$1" ]; then
        return 0
    fi
    make_dir "$(dirname -- "$1")" || return 1
    mkdir -- "$1" || return 1
    record dir "$1"
}

# Puts the entry at the top of the programs: list of ~/.xscreensaver. Only
# the form xscreensaver writes itself ("programs:" ending in a backslash,
# one program per line) is changed; otherwise the entry to add is shown.
register_xscreensaver() {
    pretty=$(printf '%s' "$title" | tr -d '"\\')
    entry="  GL: \"$pretty\" $command -root \\n\\"
    if [ "$scope" = system ]; then
        echo "Users of xscreensaver add this line to the programs: list of their ~/.xscreensaver:"
        echo "$entry"
        return 0
    fi
    [ -f "$xscreensaver" ] || return 0
    if ! grep -q '^programs:.*\\$' "$xscreensaver"; then
        echo "$xscreensaver has no programs: list of the usual form; add this line to it yourself:"
        echo "$entry"
        return 0
    fi
    temporary=$xscreensaver.lumivexis-new
    ENTRY=$entry awk '
        { print }
        !done && /^programs:.*\\$/ { print ENVIRON["ENTRY"]; done = 1 }
    ' "$xscreensaver" >"$temporary" || {
        rm -f -- "$temporary"
        return 1
    }
    # Written over the old file, which keeps its permissions.
    cat -- "$temporary" >"$xscreensaver" && rm -f -- "$temporary" || return 1
    record xscreensaver "$command"
    echo "added to the programs of xscreensaver ($xscreensaver)"
}

# Takes the lines that run the command out of ~/.xscreensaver.
unregister_xscreensaver() {
    [ -f "$xscreensaver" ] || return 0
    temporary=$xscreensaver.lumivexis-new
    COMMAND="$1 -root" awk 'index($0, ENVIRON["COMMAND"]) == 0 { print }' "$xscreensaver" >"$temporary" || {
        rm -f -- "$temporary"
        return 1
    }
    cat -- "$temporary" >"$xscreensaver" && rm -f -- "$temporary"
}

write_desktop_entry() {
    # Exec quotes the path: \ " ` $ are escaped there, % doubled; then every
    # backslash is doubled once more, as in every value of the file.
    exec_path=$(printf '%s' "$program" | sed -e 's/[\\"`$]/\\&/g' -e 's/%/%%/g' -e 's/\\/\\\\/g')
    try_path=$(printf '%s' "$program" | sed 's/\\/\\\\/g')
    name=$(printf '%s' "$title" | sed 's/\\/\\\\/g')
    make_dir "$(dirname -- "$desktop")" || return 1
    cat >"$desktop" <<EOF_DESKTOP || return 1
[Desktop Entry]
Type=Application
Name=$name
Comment=A 3D screensaver made with Pelavor
TryExec=$try_path
Exec="$exec_path" -root
Categories=Screensaver;
NoDisplay=true
EOF_DESKTOP
    chmod 644 "$desktop"
    record file "$desktop"
}

# Removes what the records (one "kind path" a line) name, the last added
# first: files before the folders that hold them.
remove_records() {
    printf '%s' "$1" | sed -n '1!G;h;$p' | while IFS= read -r line; do
        kind=${line%% *}
        value=${line#* }
        case $kind in
        file) rm -f -- "$value" ;;
        dir) rmdir -- "$value" 2>/dev/null ;;
        xscreensaver) unregister_xscreensaver "$value" ;;
        esac
    done
}

remove_install() {
    if [ ! -f "$manifest" ]; then
        echo "\"$title\" is not installed here (no $manifest)."
        return 1
    fi
    remove_records "$(cat -- "$manifest")
" || return 1
    echo "\"$title\" is removed."
}

install_files() {
    make_dir "$bin_dir" || return 1
    cp -- "$here/screensaver" "$program" && chmod 755 "$program" || return 1
    record file "$program"
    write_desktop_entry || return 1
    register_xscreensaver || return 1

    make_dir "$record_dir" || return 1
    for name in title file-name; do
        cp -- "$here/$name" "$record_dir/$name" || return 1
        record file "$record_dir/$name"
    done
    cp -- "$here/install.sh" "$record_dir/uninstall.sh" || return 1
    record file "$record_dir/uninstall.sh"
    record file "$manifest"
    printf '%s' "$records" >"$manifest"
}

add_install() {
    echo "Installing \"$title\"..."
    if [ -f "$manifest" ]; then
        echo "An earlier install of \"$title\" goes first."
        remove_install >/dev/null || return 1
    fi
    if ! install_files; then
        # Nothing half done stays behind.
        remove_records "$records"
        echo "\"$title\" could not be installed."
        return 1
    fi
    echo "\"$title\" is installed: $program"
    case :${PATH:-}: in
    *:"$bin_dir":*) ;;
    *) echo "($bin_dir is not in your PATH; the screensaver daemons are given the full path.)" ;;
    esac
    echo "To remove it: sh \"$record_dir/uninstall.sh\" --uninstall"
}

if [ "$action" = uninstall ]; then
    remove_install
else
    add_install
fi
