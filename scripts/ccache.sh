# Sourced by the build scripts: when ccache is there, compile through it, with
# paths inside the checkout taken as relative, so that every checkout and build
# folder on the machine shares one cache. Sets the array compiler_cache to the
# CMake arguments for a new build folder.
compiler_cache=()
if command -v ccache >/dev/null 2>&1 && [ -z "${QUILO_NO_CCACHE:-}" ]; then
  compiler_cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
fi
