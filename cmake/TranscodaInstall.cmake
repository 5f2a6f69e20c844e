# Where `cmake --install` puts the program under its prefix.
#
# The program finds its helper tools in B/ beside its own executable file (as resolved by
# /proc/self/exe), so both front ends and B/ live together in a private folder, and the
# commands in bin/ are relative symlinks to them: the installed tree can be moved or
# unpacked under any root and still finds its tools. The artwork of the windows is
# compiled into the program; the desktop entry, the AppStream description and the
# hicolor icons go to their standard places under share/.
#
# Every file belongs to one of two components, which are the two Debian packages
# (TranscodaPackage.cmake): "cli" (transcoda-cli, the tools, nothing of Qt) and "window"
# (transcoda, its menu entry and icons). A plain `cmake --install` installs both.
include(GNUInstallDirs)

set(TRANSCODA_INSTALL_PRIVATEDIR "lib/transcoda" CACHE STRING
    "Folder under the prefix for the executables and their helper tools")
set(private ${TRANSCODA_INSTALL_PRIVATEDIR})

install(TARGETS transcoda-cli RUNTIME DESTINATION ${private} COMPONENT cli)
install(TARGETS transcoda RUNTIME DESTINATION ${private} COMPONENT window)

# The seven tools are one program that acts according to the name it is started under:
# install it once (so that a stripped install strips it), then give it each tool's name.
# Hard links where the file system allows them, copies otherwise.
get_directory_property(tool_names DIRECTORY ${CMAKE_SOURCE_DIR}/helpers DEFINITION TRANSCODA_HELPER_NAMES)
install(TARGETS transcoda_helper_tool RUNTIME DESTINATION ${private}/B COMPONENT cli)
install(CODE "
  set(tool_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${private}/B\")
  foreach(name ${tool_names})
    message(STATUS \"Installing: \${tool_dir}/\${name}\")
    file(REMOVE \"\${tool_dir}/\${name}\")
    file(CREATE_LINK \"\${tool_dir}/transcoda_helper_tool\" \"\${tool_dir}/\${name}\" COPY_ON_ERROR)
  endforeach()
  file(REMOVE \"\${tool_dir}/transcoda_helper_tool\")
" COMPONENT cli)

# bin/transcoda -> ../lib/transcoda/transcoda, made once in the build tree and installed
# as a link.
file(RELATIVE_PATH to_private "/root/${CMAKE_INSTALL_BINDIR}" "/root/${private}")
foreach(command transcoda transcoda-cli)
  set(link ${CMAKE_BINARY_DIR}/install-links/${command})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
  file(CREATE_LINK ${to_private}/${command} ${link} SYMBOLIC)
  set(component window)
  if(command STREQUAL "transcoda-cli")
    set(component cli)
  endif()
  install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
endforeach()

# The manual pages and the package's changelog, compressed as Debian wants them
# (gzip -9n: no name or time inside, so the same text gives the same bytes).
set(compressed_dir ${CMAKE_BINARY_DIR}/compressed-docs)
file(MAKE_DIRECTORY ${compressed_dir})
set(compressed)
foreach(source docs/man/transcoda.1 docs/man/transcoda-cli.1 packaging/debian/changelog)
  get_filename_component(name ${source} NAME)
  set(gz ${compressed_dir}/${name}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${source} > ${gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND compressed ${gz})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})

set(debian ${CMAKE_SOURCE_DIR}/packaging/debian)
foreach(component cli window)
  set(package transcoda)
  set(command transcoda)
  if(component STREQUAL "cli")
    set(package transcoda-cli)
    set(command transcoda-cli)
  endif()
  install(FILES ${compressed_dir}/${command}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
  install(FILES ${debian}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  install(FILES ${compressed_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          RENAME changelog.Debian.gz COMPONENT ${component})
  install(FILES ${debian}/${package}.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME ${package} COMPONENT ${component})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/resources/completion/transcoda-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT cli)

set(desktop ${CMAKE_SOURCE_DIR}/resources/desktop)
install(FILES ${desktop}/org.example.transcoda.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
install(FILES ${desktop}/org.example.transcoda.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT window)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT window)
