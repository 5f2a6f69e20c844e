# The Debian dependency on libraries that a program loads by name at run time (dlopen),
# which dpkg-shlibdeps cannot see: for each library, the package that holds the file of
# the soname built against (lib<name>.so.<major>, as pkg-config gives it), with the
# version its shlibs file asks for, as dpkg-shlibdeps would have written it for a
# program linked to it.
#
# transcoda_loaded_library_depends(<out> <name>...), e.g. (libav_depends avformat avutil)
# sets <out> to "libavformat59 (>= 7:5.1.9), libavutil57 (>= 7:5.1.9)".
find_program(PKG_CONFIG_EXECUTABLE pkg-config REQUIRED)
find_program(DPKG_QUERY_EXECUTABLE dpkg-query)

function(transcoda_loaded_library_depends out)
  set(depends)
  foreach(name ${ARGN})
    execute_process(COMMAND ${PKG_CONFIG_EXECUTABLE} --modversion lib${name}
                    OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    execute_process(COMMAND ${PKG_CONFIG_EXECUTABLE} --variable=libdir lib${name}
                    OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed OR NOT version MATCHES "^[0-9]+")
      message(FATAL_ERROR "pkg-config does not know lib${name}")
    endif()
    string(REGEX MATCH "^[0-9]+" major ${version})
    set(soname lib${name}.so.${major})
    # Debian names the package of a library after its soname: the fallback.
    set(dependency lib${name}${major})
    if(DPKG_QUERY_EXECUTABLE)
      execute_process(COMMAND ${DPKG_QUERY_EXECUTABLE} -S ${libdir}/${soname}
                      OUTPUT_VARIABLE owner OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
      # "libavformat59:amd64: /usr/lib/x86_64-linux-gnu/libavformat.so.59"
      string(REGEX MATCH "^[^ ,]+:" owner_field "${owner}")
      string(REGEX REPLACE ":$" "" package "${owner_field}")
      if(NOT failed AND package)
        execute_process(COMMAND ${DPKG_QUERY_EXECUTABLE} --control-path ${package} shlibs
                        OUTPUT_VARIABLE shlibs_file OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(shlibs_file AND EXISTS ${shlibs_file})
          # "libavformat 59 libavformat59 (>= 7:5.1.9)": library, major, dependency.
          file(STRINGS ${shlibs_file} lines REGEX "^lib${name} ${major} ")
          if(lines)
            list(GET lines 0 line)
            string(REGEX REPLACE "^lib${name} ${major} " "" dependency "${line}")
          endif()
        endif()
      endif()
    endif()
    list(APPEND depends "${dependency}")
  endforeach()
  list(JOIN depends ", " joined)
  set(${out} "${joined}" PARENT_SCOPE)
endfunction()
