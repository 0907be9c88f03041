# The Debian packages the project needs; sourced by ./test and ./run.
QV70_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libusb-1.0-0-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-utils xdotool openbox imagemagick xclip fonts-liberation
  fonts-noto-cjk  # the comment menu's Chinese captions
  python3-pil
  poppler-utils  # pdfinfo and pdftoppm look at the printed reports
  libreoffice-writer-nogui  # RTF written by another word processor, read back
  libwmf-bin  # wmf2svg reads every picture of an RTF report in the tests
  desktop-file-utils  # desktop-file-validate checks the installed desktop entry
)

qv70_install_packages() {
  local missing=() package
  for package in "${QV70_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
