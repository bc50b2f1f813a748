#!/usr/bin/env bash
# The vendor's one command: from the new main program to a checked, optionally
# signed updater. See --help.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# This release's defaults, as the build has them (cmake/ReleaseProfile.cmake).
default() { sed -n "s/^set($1 \"\([^\"]*\)\".*/\1/p" "$root/cmake/ReleaseProfile.cmake"; }

usage() {
  cat <<EOF
Builds the updater for one release of the main program, checks it, and writes
it to the output folder as Upgrade-VERSION.exe with a summary beside it.

  bash tools/release.sh --payload FILE --version VERSION [options]

Required:
  --payload FILE         the new main program (a 32-bit Windows executable)
  --version VERSION      the version that program brings, for example 1.0004;
                         recorded in the installation record after the upgrade

Output:
  --out FOLDER           where the updater and its summary go (default: dist)

Release profile (this release's defaults in brackets):
  --product-name TEXT    name shown to users [$(default VELNA_PRODUCT_DISPLAY_NAME)]
  --file-name NAME       the program file in its installation folder [$(default VELNA_MAIN_PROGRAM_FILE_NAME)]
  --product-key KEY      installation record HKLM\\Software\\Dorvani\\KEY [$(default VELNA_PRODUCT_KEY)]
  --title TEXT           taskbar title and error report caption [$(default VELNA_APPLICATION_TITLE)]
  --caption-prefix TEXT  between name and version in the caption [$(default VELNA_CAPTION_VERSION_PREFIX)]
  --resource-type NAME   payload resource type [$(default VELNA_PAYLOAD_RESOURCE_TYPE)]
  --resource-name NAME   payload resource name [$(default VELNA_PAYLOAD_RESOURCE_NAME)]
  --company TEXT         CompanyName of the version resource [$(default VELNA_COMPANY_NAME)]
  --copyright TEXT       LegalCopyright of the version resource [$(default VELNA_LEGAL_COPYRIGHT)]

Signing (Authenticode, both or neither):
  --cert FILE            code-signing certificate (PEM)
  --key FILE             its private key (PEM)

Checks:
  --force                build even when the payload is not a 32-bit Windows
                         executable, or its version resource states another version
  --no-smoke             skip the smoke run (an upgrade of a throwaway
                         installation under Wine, done where this machine can run it)
  --build-dir FOLDER     the build folder of its own (default: build/release)

Exit code 0 only when the updater was built and every check passed; on any
error the output folder gets nothing.
EOF
}

fail() {
  echo "release: $*" >&2
  exit 2
}

payload="" version="" out="dist" build="$root/build/release" cert="" key="" force=no smoke=yes
product_name=$(default VELNA_PRODUCT_DISPLAY_NAME) file_name=$(default VELNA_MAIN_PROGRAM_FILE_NAME)
product_key=$(default VELNA_PRODUCT_KEY) title=$(default VELNA_APPLICATION_TITLE)
caption_prefix=$(default VELNA_CAPTION_VERSION_PREFIX) resource_type=$(default VELNA_PAYLOAD_RESOURCE_TYPE)
resource_name=$(default VELNA_PAYLOAD_RESOURCE_NAME) company=$(default VELNA_COMPANY_NAME)
copyright=$(default VELNA_LEGAL_COPYRIGHT)
while [ $# -gt 0 ]; do
  option=$1
  case "$option" in
    -h | --help) usage; exit 0 ;;
    --force) force=yes; shift; continue ;;
    --no-smoke) smoke=no; shift; continue ;;
  esac
  [ $# -ge 2 ] || fail "$option needs a value (see --help)"
  value=$2
  shift 2
  case "$option" in
    --payload) payload=$value ;;
    --version) version=$value ;;
    --out) out=$value ;;
    --build-dir) build=$value ;;
    --cert) cert=$value ;;
    --key) key=$value ;;
    --product-name) product_name=$value ;;
    --file-name) file_name=$value ;;
    --product-key) product_key=$value ;;
    --title) title=$value ;;
    --caption-prefix) caption_prefix=$value ;;
    --resource-type) resource_type=$value ;;
    --resource-name) resource_name=$value ;;
    --company) company=$value ;;
    --copyright) copyright=$value ;;
    *) fail "unknown option $option (see --help)" ;;
  esac
done

started=$SECONDS
step() { echo "[$((SECONDS - started)) s] $*"; }

# --- The input, before anything is built or written ---------------------------
step "checking the input"
[ -n "$payload" ] || fail "no payload: name the new main program with --payload FILE"
[ -n "$version" ] || fail "no version: name the version the payload brings with --version VERSION"
[ -e "$payload" ] || fail "the payload $payload does not exist"
[ -d "$payload" ] && fail "the payload $payload is a directory, not the main program's file"
[ -f "$payload" ] || fail "the payload $payload is not a regular file"
[ -s "$payload" ] || fail "the payload $payload is empty"
[ -r "$payload" ] || fail "the payload $payload cannot be read"
stored_version=$(python3 "$root/tools/version_text.py" "$version") ||
  fail "the version '$version' is not a valid version text (write it like 1.0004)"
[ -n "$product_name" ] || fail "the product name must not be empty"
[ -n "$file_name" ] || fail "the program file name must not be empty"
if [ -n "$cert" ] && [ -z "$key" ]; then fail "a certificate without a key: give --key too"; fi
if [ -z "$cert" ] && [ -n "$key" ]; then fail "a key without a certificate: give --cert too"; fi
for file in "$cert" "$key"; do
  if [ -n "$file" ] && [ ! -f "$file" ]; then fail "the signing file $file does not exist"; fi
done
findings=$(python3 "$root/tools/payload_check.py" "$payload" "$version" | sed 's/^warning: //' | paste -sd ';' |
  sed 's/;/; /g')
if [ -n "$findings" ]; then
  [ "$force" = yes ] || fail "refused: $findings (--force builds it all the same)"
  echo "release: going on with --force: $findings"
fi
mkdir -p "$out" 2>/dev/null && [ -d "$out" ] && probe_file=$(mktemp "$out/.release-probe.XXXXXX" 2>/dev/null) ||
  fail "the output folder $out cannot be written"
rm -f "$probe_file"
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
payload=$(absolute "$payload")
out=$(cd "$out" && pwd)
[ -z "$cert" ] || cert=$(absolute "$cert")
[ -z "$key" ] || key=$(absolute "$key")
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
cd "$root"

source "$root/tools/machine.sh"
velna_machine_path release
bash "$root/tools/setup.sh" >/dev/null

# --- Build, in a folder of its own, with every profile value named --------------
step "building the updater (i686, release) in $build"
logs="$build/release-logs"
mkdir -p "$logs"
cmake --preset windows -B "$build" -DVELNA_WINE_TESTS=OFF \
  -DVELNA_PAYLOAD="$payload" -DVELNA_RELEASE_VERSION="$version" \
  -DVELNA_PRODUCT_DISPLAY_NAME="$product_name" -DVELNA_MAIN_PROGRAM_FILE_NAME="$file_name" \
  -DVELNA_PRODUCT_KEY="$product_key" -DVELNA_APPLICATION_TITLE="$title" \
  -DVELNA_CAPTION_VERSION_PREFIX="$caption_prefix" -DVELNA_PAYLOAD_RESOURCE_TYPE="$resource_type" \
  -DVELNA_PAYLOAD_RESOURCE_NAME="$resource_name" -DVELNA_COMPANY_NAME="$company" \
  -DVELNA_LEGAL_COPYRIGHT="$copyright" -DVELNA_SIGN_CERT="$cert" -DVELNA_SIGN_KEY="$key" \
  >"$logs/configure.log" 2>&1 || { cat "$logs/configure.log" >&2; fail "the build could not be configured"; }
targets=(updater)
if [ "$smoke" = yes ] && [ "$VELNA_RUNS_32BIT" = yes ]; then targets+=(demo_driver); fi
cmake --build "$build" --target "${targets[@]}" >"$logs/build.log" 2>&1 ||
  { tail -30 "$logs/build.log" >&2; fail "the build failed"; }
updater="$build/app/Upgrade.exe"

# --- Checks of what was built ----------------------------------------------------
step "checking the updater: payload, version resource, hardening, imports, manifest, size"
python3 "$root/tests/build/pe_check.py" "$updater" --machine i386 --payload "$payload" \
  --resource-type "${resource_type^^}" --resource-name "${resource_name^^}" \
  --version "$version" --product "$product_name" --map "$build/app/updater.map" --max-overhead 65536 |
  sed 's/^/  /'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "the built updater failed its checks"
signed=no
if [ -n "$cert" ]; then
  step "verifying the signature"
  osslsigncode verify -CAfile "$cert" -in "$updater" >"$logs/verify.log" 2>&1 ||
    { cat "$logs/verify.log" >&2; fail "the signature does not verify"; }
  signed=yes
fi

# --- Smoke run: an upgrade of a throwaway installation ------------------------------
if [ "$smoke" = no ]; then
  smoke_result="skipped (--no-smoke)"
elif [ "$VELNA_RUNS_32BIT" = no ]; then
  smoke_result="skipped: this machine runs no 32-bit code, so Wine cannot run the updater here"
else
  step "smoke run: upgrading a throwaway installation under a 32-bit Wine"
  export WINEPREFIX="$build/smoke-prefix" WINEARCH=win32
  rm -rf "$WINEPREFIX"
  wine_run() { "$root/tools/wine-run.sh" "$@"; }
  wine_run cmd /c exit
  folder="$WINEPREFIX/drive_c/Program Files/Smoke"
  mkdir -p "$folder"
  printf 'MZ the old program' >"$folder/$file_name"
  record="HKLM\\Software\\Dorvani\\$product_key"
  wine_run reg add "$record" /v CALE /d 'C:\Program Files\Smoke' /f /reg:32 >/dev/null
  older=$((${stored_version%%.*} - 1))  # a whole version below the release
  wine_run reg add "$record" /v VER /d "$older" /f /reg:32 >/dev/null
  "$root/tests/e2e/with_display.sh" "$WINEPREFIX" "$root/tools/wine-run.sh" \
    "$build/tests/demo_driver.exe" "Z:$updater" "Z:$build/smoke-screenshots" >"$logs/smoke.log" 2>&1 || true
  ver=$(wine_run reg query "$record" /v VER /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/^ *VER *REG_SZ *//p')
  if ! cmp -s "$folder/$file_name" "$payload"; then
    cat "$logs/smoke.log" >&2
    fail "smoke run: the installed $file_name is not the payload after the upgrade"
  fi
  [ "$ver" = "$stored_version" ] || { cat "$logs/smoke.log" >&2; fail "smoke run: VER reads '$ver', not $stored_version"; }
  smoke_result="passed: the installed $file_name is the payload and VER reads $stored_version"
fi

# --- Into the output folder, whole or not at all ---------------------------------
name="Upgrade-$version.exe"
size=$(stat -c %s "$updater")
payload_size=$(stat -c %s "$payload")
summary=$(cat <<EOF
Updater:          $name
Size:             $size bytes ($((size - payload_size)) bytes over the payload of $payload_size bytes)
SHA-256:          $(sha256sum "$updater" | cut -d' ' -f1)
Payload:          $(basename "$payload")
Payload SHA-256:  $(sha256sum "$payload" | cut -d' ' -f1)
Release version:  $version (recorded as $stored_version)
Product:          $product_name ($file_name, HKLM\\Software\\Dorvani\\$product_key)
Signed:           $signed
Smoke run:        $smoke_result
EOF
)
staging=$(mktemp -d "$out/.release.XXXXXX")
trap 'rm -rf "$staging"' EXIT
cp "$updater" "$staging/$name"
printf '%s\n' "$summary" >"$staging/Upgrade-$version.txt"
mv -f "$staging/$name" "$out/$name"
mv -f "$staging/Upgrade-$version.txt" "$out/Upgrade-$version.txt"
step "done: $out/$name"
echo
echo "$summary"
