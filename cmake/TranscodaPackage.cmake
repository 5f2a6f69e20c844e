# `make package`: two Debian packages of the installed program (see TranscodaInstall.cmake),
# installing under /usr, as transcoda-cli_<version>_<arch>.deb and transcoda_<version>_<arch>.deb:
#   transcoda-cli  the conversions from a terminal and the helper tools; no Qt, no player
#   transcoda      the window, its menu entry and icons; depends on transcoda-cli and mpv
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME transcoda)
set(CPACK_PACKAGE_VENDOR "The Transcoda developers")
set(CPACK_PACKAGE_CONTACT "Transcoda maintainers <maintainers@transcoda.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# The Debian revision: the changelog's latest entry must name this very version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(deb_version ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/debian/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^transcoda \\(${deb_version}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog begins with \"${changelog_head}\": "
                      "its latest entry must be version ${deb_version}")
endif()

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli window)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://transcoda.example.org/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME transcoda-cli)
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME transcoda)
set(CPACK_COMPONENT_CLI_DESCRIPTION
  "media converter with 40 ready-made formats, for the terminal
Transcoda converts a video or sound file to one of 40 ready-made formats
(HD AVI, MPEG, FLV, WMV, 3GPP, QuickTime, iPod/iPhone, PS3/PSP, Xbox 360,
DVD folders for PAL and NTSC, MP3, WAV, uncompressed AVI).
.
This package holds transcoda-cli, which converts single files or lists of
them from a terminal or a batch job, several at once and in shards across
machines, and the helper tools that both front ends run. It needs no
graphical libraries.")
set(CPACK_COMPONENT_WINDOW_DESCRIPTION
  "bilingual desktop media converter with 40 ready-made formats
Transcoda converts a video or sound file to one of 40 ready-made formats
(HD AVI, MPEG, FLV, WMV, 3GPP, QuickTime, iPod/iPhone, PS3/PSP, Xbox 360,
DVD folders for PAL and NTSC, MP3, WAV, uncompressed AVI) and shows the
progress as it goes. Conversions can be queued in a list; the sound can be
shifted against the picture, with a preview, and a part of a file cut out.
.
This package holds the window, which speaks French or English.")

# The libraries linked are read from the executables (dpkg-shlibdeps). The engines are
# programs that the tools start by name, and the tools load the libav* libraries by
# name when they first read a file: no library scan sees either, so they are declared.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(${CMAKE_CURRENT_LIST_DIR}/LoadedLibraries.cmake)
transcoda_loaded_library_depends(libav_depends avformat avcodec avutil)
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "ffmpeg, dvdauthor, ${libav_depends}")
# The window runs the tools of transcoda-cli of the same build, and mpv for the preview.
set(CPACK_COMPONENT_WINDOW_DEPENDS cli)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "mpv")
# Qt's own texts (file dialogs, standard buttons) in French; without them they stay English.
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
