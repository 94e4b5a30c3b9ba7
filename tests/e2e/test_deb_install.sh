# The Debian package holds a working Plinkly: unpacked into a throw-away root it carries its
# metadata, touches nothing outside /usr, finds its sounds from there with a fresh home, and a
# key typed in another application plays the built-in pack's press sample.
# PLINKLY_DEB names a package to test; otherwise CPack builds one from the build folder.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

deb=${PLINKLY_DEB:-}
if [[ -z $deb ]]; then
  cpack -G DEB -B "$E2E_WORK/package" --config "$BUILD_DIR/CPackConfig.cmake" >"$E2E_WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n5 "$E2E_WORK/cpack.log")"
  deb=$(echo "$E2E_WORK"/package/plinkly_*.deb)
fi
[[ -f $deb ]] || fail "no package at $deb"

# The control fields, and no maintainer scripts: installing and removing never reach a home.
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == plinkly && $(field Section) == sound && -n $(field Maintainer) ]] ||
  fail "the control fields are incomplete: $(dpkg-deb --field "$deb")"
[[ $(field Depends) == *libqt6widgets6* ]] || fail "the dependencies were not computed from the program: $(field Depends)"
# Loaded when first needed (an archive imported, sounds decoded, a road to sound tried), so no
# link names them.
for loaded in libzip4 libsndfile1 libpipewire-0.3-0 libpulse0 libsdl2-2.0-0; do
  [[ $(field Depends) == *"$loaded"* ]] || fail "$loaded, loaded when needed, is not a dependency: $(field Depends)"
done
dpkg-deb --control "$deb" "$E2E_WORK/control"
[[ $(ls "$E2E_WORK/control") == $'control\nmd5sums' ]] || fail "the package has scripts: $(ls "$E2E_WORK/control")"
outside=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '^\./usr/' | grep -v '^\./$' || true)
[[ -z $outside ]] || fail "the package puts files outside /usr: $outside"

root="$E2E_WORK/root"
dpkg-deb --extract "$deb" "$root"
id=io.github.plinkly.Plinkly
for file in bin/plinkly share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/symbolic/apps/$id-symbolic.svg \
  share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$id.png share/doc/plinkly/copyright \
  share/plinkly/KnockwellResources/KeyboardPacks/recorded-cherry/manifest.json; do
  [[ -f "$root/usr/$file" ]] || fail "the package lacks /usr/$file"
done
appstreamcli validate-tree --no-net "$root" >"$E2E_WORK/validate.log" 2>&1 ||
  fail "the installed metadata does not validate: $(cat "$E2E_WORK/validate.log")"

write_exact_sound_settings selectedKeyboardPack=recorded-cherry
xev -geometry 400x300+100+100 -name "Typing target" >/dev/null 2>&1 &
target_pid=$!
wait_for 10 has_window_named "Typing target" || fail "the target window did not appear"

output="$E2E_WORK/typing.raw"
PLINKLY_AUDIO=sdl SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$output" "$root/usr/bin/plinkly" >"$E2E_WORK/plinkly.log" 2>&1 &
app=$!
wait_for 20 has_window_named "Plinkly" || fail "the control window did not appear"
! has_window_named "Plinkly can’t find its sounds" || fail "the installed program did not find its sounds"
wait_for 20 test -f "$XDG_DATA_HOME/Knockwell/Keyboard Packs/recorded-cherry/manifest.json" ||
  fail "the built-in packs were not copied into the new library"

# The first keys open the output once the chosen pack is loaded (on a first start it is copied
# first). The next is held long enough for its whole press sample to play before the release
# sample starts.
target=$(window_named "Typing target")
xdotool windowactivate --sync "$target"
for _ in $(seq 30); do
  type_in "$target" key a
  sleep 1
  [[ -s $output ]] && break
done
[[ -s $output ]] || fail "no key opened the output in 30 s: $(tail -n5 "$E2E_WORK/plinkly.log")"
type_in "$target" keydown a
sleep 0.5
type_in "$target" keyup a
sleep 1

python3 - "$output" "$root/usr/share/plinkly/KnockwellResources/KeyboardPacks/recorded-cherry" \
  >"$E2E_WORK/match.log" 2>&1 <<'PY' || fail "the typed key did not play the installed pack's press sample: $(cat "$E2E_WORK/match.log")"
import glob, struct, sys, wave
data = open(sys.argv[1], "rb").read()
left = struct.unpack("<%df" % (len(data) // 8 * 2), data[: len(data) // 8 * 8])[0::2]
for path in sorted(glob.glob(sys.argv[2] + "/samples/regular-down-*.wav")):
    with wave.open(path) as w:
        frames = w.readframes(w.getnframes())
    expected = [v / 32768 for v in struct.unpack("<%dh" % (len(frames) // 2), frames)]
    first = next(i for i, v in enumerate(expected) if v != 0)
    for start in (i for i, v in enumerate(left) if abs(v - expected[first]) < 1e-6):
        got = left[start - first : start - first + len(expected)]
        if start >= first and len(got) == len(expected) and all(abs(a - b) < 1e-6 for a, b in zip(got, expected)):
            print("%s found at frame %d" % (path.rsplit("/", 1)[1], start - first))
            sys.exit(0)
sys.exit("no press sample of the installed pack in %d frames" % len(left))
PY

kill "$app" "$target_pid"
wait "$app" || true
echo "deb install: ok"
