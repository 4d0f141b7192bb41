#!/bin/bash
# The installed tree is a working desktop program: `cmake --install` into a
# scratch prefix lays out the files a desktop looks for, the desktop entry
# and the metainfo pass their validators, and the program started from that
# prefix (under Xvfb, in a private home) finds its program folder there: the
# start-up form's "Read Tellumo help" opens the installed English manual
# with the desktop's PDF viewer, and "Start a new VES" lays out the spacing
# template without the "wrong or not found" message.
#
#   install_tree.sh CMAKE BUILD_DIR
set -u
cmake=$1
build=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for tool in Xvfb:xvfb xdotool:xdotool desktop-file-validate:desktop-file-utils \
            appstreamcli:appstream xdg-mime:xdg-utils; do
  command -v "${tool%%:*}" > /dev/null ||
    fail "${tool%%:*} is missing (Debian package ${tool##*:}): this test needs it"
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tellumo-install.XXXXXX")
xvfb=
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2> /dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
  wait 2> /dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# --- The installed files --------------------------------------------------
prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" > "$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; fail "cmake --install failed"; }
metainfo=share/metainfo/com.verdanta.tellumo.metainfo.xml
for f in bin/tellumo \
         share/tellumo/DATAVES.TXT share/tellumo/DATAWEN.TXT share/tellumo/DATADIP.TXT \
         share/tellumo/Manual/TELLUMO6_US.PDF share/tellumo/Manual/TELLUMO6_FR.PDF \
         share/tellumo/Manual/TELLUMO6_ES.PDF \
         share/applications/tellumo.desktop "$metainfo" \
         share/icons/hicolor/scalable/apps/tellumo.svg share/icons/hicolor/256x256/apps/tellumo.png \
         share/man/man1/tellumo.1.gz share/doc/tellumo/copyright share/doc/tellumo/changelog.gz; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/tellumo" ] || fail "bin/tellumo is not executable"
# The bitmap icon is a PNG of 256 by 256 pixels (width and height are the
# big-endian words at bytes 16 and 20).
png=$prefix/share/icons/hicolor/256x256/apps/tellumo.png
[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "tellumo.png is not a PNG"
[ "$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')" = "0 0 1 0 0 0 1 0" ] ||
  fail "tellumo.png is not 256x256"

# --- The validators: no error, no warning ---------------------------------
out=$(desktop-file-validate "$prefix/share/applications/tellumo.desktop" 2>&1)
rc=$?
echo "desktop-file-validate: ${out:-no message}"
[ $rc -eq 0 ] || fail "desktop-file-validate failed"
grep -Eq '(error|warning):' <<< "$out" && fail "desktop-file-validate reports errors or warnings"
out=$(appstreamcli validate --no-net "$prefix/$metainfo" 2>&1)
rc=$?
echo "appstreamcli validate: $out"
[ $rc -eq 0 ] || fail "appstreamcli validate failed"
grep -Eq '^[EW]: ' <<< "$out" && fail "appstreamcli validate reports errors or warnings"

# --- A private desktop session --------------------------------------------
# Everything the program and xdg-mime read or write lives in the scratch
# folder; no desktop is named, so xdg-mime takes its generic, file-based way.
export HOME=$scratch/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export XDG_RUNTIME_DIR=$scratch/runtime TMPDIR=$scratch/tmp
export LC_ALL=C.UTF-8
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
      QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_RUNTIME_DIR" "$TMPDIR" "$scratch/bin"
chmod 700 "$XDG_RUNTIME_DIR"

# The stand-in PDF viewer writes its arguments to a marker file, and is the
# default application for PDF files.
marker=$scratch/viewer-arguments
viewer=$scratch/bin/stand-in-pdf-viewer
cat > "$viewer" << EOF
#!/bin/sh
printf '%s\n' "\$@" > "$marker.part" && mv "$marker.part" "$marker"
EOF
chmod 755 "$viewer"
cat > "$XDG_DATA_HOME/applications/stand-in-pdf-viewer.desktop" << EOF
[Desktop Entry]
Type=Application
Name=Stand-in PDF viewer
Exec=$viewer %f
MimeType=application/pdf;
NoDisplay=true
EOF
cat > "$XDG_CONFIG_HOME/mimeapps.list" << EOF
[Default Applications]
application/pdf=stand-in-pdf-viewer.desktop
EOF
default=$(xdg-mime query default application/pdf)
[ "$default" = stand-in-pdf-viewer.desktop ] ||
  fail "xdg-mime gives '$default' for application/pdf, not the stand-in viewer"

# Xvfb on a display it picks itself (it writes the number when ready).
: > "$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$scratch/display" > "$scratch/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$scratch/display" ] && break
  kill -0 "$xvfb" 2> /dev/null || { cat "$scratch/xvfb.log" >&2; fail "Xvfb did not start"; }
  sleep 0.1
done
[ -s "$scratch/display" ] || fail "Xvfb gave no display within 10 s"
DISPLAY=:$(head -n1 "$scratch/display")
export DISPLAY

# The first visible window of the program whose name matches $1, waited for
# up to $2 tenths of a second; empty when none came.
find_window() {
  local w
  for _ in $(seq "$2"); do
    w=$(xdotool search --all --onlyvisible --pid "$app" --name "$1" 2> /dev/null | head -n1)
    [ -n "$w" ] && { echo "$w"; return; }
    kill -0 "$app" 2> /dev/null || return
    sleep 0.1
  done
}

# Names of the program's visible windows, one a line.
window_names() {
  local w
  for w in $(xdotool search --all --onlyvisible --pid "$app" --name '.*' 2> /dev/null); do
    xdotool getwindowname "$w"
  done
}

# Starts the installed program and gives the focus to its start-up form
# (there is no window manager to do it), whose first button has the focus.
# The form has the program's title ("Tellumo 6.4"), which the main window
# also has for a moment before its file name is added ("Tellumo 6.4 []"):
# the form is known once the main window has its full title.
start_program() {
  "$prefix/bin/tellumo" > "$scratch/tellumo-$1.log" 2>&1 &
  app=$!
  main=$(find_window '^Tellumo [0-9.]+ \[' 150)
  [ -n "$main" ] || { cat "$scratch/tellumo-$1.log" >&2; fail "the main window did not show within 15 s"; }
  form=$(find_window '^Tellumo [0-9.]+$' 50)
  [ -n "$form" ] || { window_names >&2; fail "the start-up form did not show within 5 s"; }
  xdotool windowfocus --sync "$form" || fail "could not focus the start-up form"
}

stop_program() {
  kill "$app" 2> /dev/null
  wait "$app" 2> /dev/null
  app=
}

# --- "Read Tellumo help" opens the installed manual ------------------------
# The form's buttons, in their order: Start a new VES, Open a Tellumo file,
# Load last Tellumo file, Read Tellumo help.
start_program help
xdotool key --clearmodifiers Tab Tab Tab space
for _ in $(seq 100); do
  [ -f "$marker" ] && break
  sleep 0.1
done
if [ ! -f "$marker" ]; then
  # A second window titled like the program is its message: no PDF viewer
  # found, or no manual in the folder it took for its program folder.
  echo "windows: $(window_names | paste -sd '|')" >&2
  fail "the PDF viewer was not started within 10 s of \"Read Tellumo help\""
fi
manual=$(cd "$prefix/share/tellumo/Manual" && pwd -P)/TELLUMO6_US.PDF
[ "$(cat "$marker")" = "$manual" ] ||
  fail "the viewer was given '$(cat "$marker")', not the installed manual $manual"
echo "Read Tellumo help: the viewer opened $(cat "$marker")"
stop_program

# --- "Start a new VES" lays out the spacing template ------------------------
# Without the template the program says "File ... is wrong or not found" in a
# modal message box over the main window (then asks for the file). With it,
# the new sounding's grid is laid out and the main window takes the keyboard
# again: Alt+F opens its File menu. A modal box would swallow that key, so
# the first window to come beside the main one tells which it was.
start_program template
xdotool key --clearmodifiers space
for _ in $(seq 150); do
  xdotool search --all --onlyvisible --pid "$app" --name '.*' 2> /dev/null | grep -qxF "$form" || break
  sleep 0.1
done
xdotool windowfocus --sync "$main" && xdotool key --clearmodifiers alt+f
other=
for _ in $(seq 100); do
  other=$(xdotool search --all --onlyvisible --pid "$app" --name '.*' 2> /dev/null | grep -vxF "$main" | head -n1)
  [ -n "$other" ] && break
  sleep 0.1
done
[ -n "$other" ] || { window_names >&2; fail "neither the File menu nor a message within 10 s of \"Start a new VES\""; }
name=$(xdotool getwindowname "$other")
# The boxes and dialogs carry the program's title ("Tellumo 6.4") or their
# own; the menu, none of its own (the application's name).
[ "$name" = Tellumo ] ||
  fail "the spacing template was not found: the program shows '$name' over the new sounding"
echo "Start a new VES: the new sounding takes the keyboard, with no message"
stop_program
echo "PASS"
