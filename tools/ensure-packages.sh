# Sourced by run.sh, test.sh and fuzz/run.sh: installs the Debian packages the build needs when
# missing, with those the sourcing script lists in braxel_extra_packages.
# gemmi-dev does not pull in what its headers include (PEGTL, stb).
braxel_packages=(cmake g++ make googletest libgtest-dev libbenchmark-dev qt6-base-dev gemmi-dev
  tao-pegtl-dev libstb-dev libsymspg-dev ${braxel_extra_packages[@]+"${braxel_extra_packages[@]}"})
braxel_missing=()
for package in "${braxel_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    braxel_missing+=("$package")
done
if [ ${#braxel_missing[@]} -gt 0 ]; then
  echo "Installing ${braxel_missing[*]}"
  sudo_prefix=()
  [ "$(id -u)" -ne 0 ] && sudo_prefix=(sudo)
  "${sudo_prefix[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y "${braxel_missing[@]}"
fi
