# `make package`: a Debian package of the installed program (see TranscodaInstall.cmake),
# installing under /usr, as build/transcoda_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME transcoda)
set(CPACK_PACKAGE_VENDOR "The Transcoda developers")
set(CPACK_PACKAGE_CONTACT "Transcoda maintainers <maintainers@transcoda.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bilingual desktop media converter with 40 ready-made formats")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://transcoda.example.org/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Transcoda converts a video or sound file to one of 40 ready-made formats
(HD AVI, MPEG, FLV, WMV, 3GPP, QuickTime, iPod/iPhone, PS3/PSP, Xbox 360,
DVD folders for PAL and NTSC, MP3, WAV, uncompressed AVI) and shows the
progress as it goes. Conversions can be queued in a list; the sound can be
shifted against the picture, with a preview, and a part of a file cut out.
.
The window speaks French or English; transcoda-cli does the same
conversions from a terminal.")

# The libraries (Qt 6, libopencore-amrnb ...) come from the executables themselves; the
# engines are programs that the helper tools start by name, which no library scan sees.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ffmpeg, mpv, dvdauthor")
# Qt's own texts (file dialogs, standard buttons) in French; without them they stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
