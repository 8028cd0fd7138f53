#!/usr/bin/env bash
# Installs every Debian package Parlendo needs to build, test and be looked at.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-svg-dev
  qt6-l10n-tools          # lupdate and lrelease: the catalogues in translations/ (the CMake
                          # side, Qt6LinguistTools, is in qt6-tools-dev)
  qt6-translations-l10n   # Qt's own catalogues (qtbase_de: OK, Cancel, the file dialogs)
  linguist-qt6            # Qt Linguist, to translate the catalogues
  qt6-multimedia-dev qt6-webengine-dev libqt6opengl6-dev
  libqt6sql6-sqlite  # the chat history: Qt's SQLite driver (Debian's SQLite has FTS5)
  libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps imagemagick
  unrtf poppler-utils desktop-file-utils appstream
  ccache dpkg-dev file  # the .deb: dpkg-shlibdeps finds its dependencies, and needs file
  qtkeychain-qt6-dev libsecret-1-0  # the keyring; QtKeychain loads libsecret when it runs
  dbus-daemon gnome-keyring         # the desktop tests' private session bus and a real keyring
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
