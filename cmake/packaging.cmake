# Packages made by CPack from the install rules: a Debian package and a
# .tar.gz. In the build folder:
#
#   cpack                  both (spexor_0.9.0_amd64.deb, spexor-0.9.0-Linux.tar.gz)
#   cpack -G DEB           the Debian package alone
#
# The Debian package's dependencies are worked out by dpkg-shlibdeps (package
# dpkg-dev) from the programs' shared libraries, which also needs file(1).
set(CPACK_PACKAGE_NAME spexor)
set(CPACK_PACKAGE_VENDOR "spexor maintainers")
set(CPACK_PACKAGE_CONTACT "spexor maintainers <maintainers@users.noreply.c-seed-9799c584.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Thermo RAW file converters to MS1, MS2, MS3, MGF and KSD text files")
set(CPACK_PACKAGE_DESCRIPTION
    "spexor converts Thermo RAW files (the binary files that Thermo Fisher Scientific
mass spectrometers write, format versions 57 to 66) into MS1, MS2, MS3, MGF and
KSD text files for peptide-identification software, split by activation and
analyzer or merged. brisel writes one MS1 file beside each RAW file named on its
command line. rawdump prints what the RAW reader reads from a RAW file as JSON
lines. The RAW reader is native: no vendor library is needed.")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
