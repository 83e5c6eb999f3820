# How the shared library is linked, for a short start-up. A program that draws one chart and exits
# spends a good part of its time loading libraries: libstdc++ and libgcc_s alone cost about 0.8 ms
# of a 5.5 ms run (their mappings, relocations and symbol look-ups). Linked into the library with
# its symbols hidden, the C++ runtime is just more of the library's own code and the loader
# resolves nothing of it. No C++ runtime object crosses the public interface (it passes numbers,
# C strings and the library's own classes, and throws nothing), so the caller's copy of the runtime
# and the library's never meet. Instrumented builds keep the shared runtime: the sanitizers replace
# parts of it.
include(CheckCXXSourceCompiles)

option(PLOTVANE_STATIC_CXX_RUNTIME "Link the C++ runtime into the shared library, hidden" ON)

function(plotvane_link_shared_library target)
  # Functions of the library call each other directly rather than through the symbol table, and
  # the standard templates it instantiates stay inside.
  target_link_options(${target} PRIVATE -Wl,-O1 -Wl,-Bsymbolic-functions
    -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/libplotvane.map)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/libplotvane.map)
  set(PLOTVANE_CXX_RUNTIME_INSIDE OFF PARENT_SCOPE)
  if(NOT PLOTVANE_STATIC_CXX_RUNTIME OR PLOTVANE_SANITIZE OR PLOTVANE_TSAN OR PLOTVANE_FUZZ)
    return()
  endif()
  set(CMAKE_REQUIRED_FLAGS -fPIC)
  set(CMAKE_REQUIRED_LINK_OPTIONS -shared -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL)
  check_cxx_source_compiles("
    #include <string>
    std::string f(const char* s) { return std::string(s) + s; }
    int main() { return 0; }" PLOTVANE_HAVE_STATIC_CXX_RUNTIME)
  if(PLOTVANE_HAVE_STATIC_CXX_RUNTIME)
    # Vtables refer to __cxa_pure_virtual only weakly, which would leave it to whatever runtime the
    # program loads; taken from the archive it is the library's own.
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL
      -Wl,--undefined=__cxa_pure_virtual)
    set(PLOTVANE_CXX_RUNTIME_INSIDE ON PARENT_SCOPE)
  endif()
endfunction()

# The file name a program's loader would open for the shared library `library` (a path found at
# configure time): its folder and its SONAME, so that an update of the same library still serves.
# Falls back to the path with its links resolved.
function(plotvane_loader_name library out)
  get_filename_component(real "${library}" REALPATH)
  get_filename_component(folder "${real}" DIRECTORY)
  set(name "${real}")
  if(CMAKE_READELF)
    execute_process(COMMAND ${CMAKE_READELF} -d "${real}" OUTPUT_VARIABLE dynamic ERROR_QUIET)
    if(dynamic MATCHES "\\(SONAME\\)[^[]*\\[([^]]+)\\]")
      set(name "${folder}/${CMAKE_MATCH_1}")
    endif()
  endif()
  set(${out} "${name}" PARENT_SCOPE)
endfunction()
