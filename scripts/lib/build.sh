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
