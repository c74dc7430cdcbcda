# Sourced by the scripts that build before they run something: one way to configure and build.

# Configures PRESET (quietly) and builds it: all of it, or only the TARGETs given.
build_preset() {  # PRESET [TARGET...]
  local preset=$1
  shift
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" "${targets[@]}"
}

# The sessions these scripts run are measurements and tests: they are kept in a store of the
# build folder's, never in the user's own (orvendale-cli's store lives under XDG_DATA_HOME).
export XDG_DATA_HOME="$PWD/build/scratch-data"
