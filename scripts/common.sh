# Shared by scripts/run and scripts/test: installs what a fresh Debian machine is missing.
# Sourced, not run.

keldra_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

keldra_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else "$@"; fi
}

# Installs the Debian packages given, skipping those already installed.
keldra_install() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  keldra_sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive keldra_sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

keldra_jobs() { nproc 2>/dev/null || echo 2; }
