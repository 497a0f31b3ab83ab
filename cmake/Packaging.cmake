# The Debian package "folivane", made by CPack from what `cmake --install` installs:
# `cmake --build --preset default --target package` writes folivane_<version>_<arch>.deb
# into the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME folivane)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvel Folivane Developers <dev@folivane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert plain-text files into one EPUB book")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel Folivane Converter turns plain-text (.txt) files into one EPUB book
that opens in e-book readers. Collect the text files in a list, put them in
order, give the book's name, author and publisher and a cover picture if you
like, and convert.

Long novels in UTF-8, UTF-16 and UTF-32, and in legacy code pages such as
GBK, Big5, Shift-JIS or Windows-1252, are read; the code page is detected
when it is not named. Chapters are found at heading lines, with volumes as
a second level of the table of contents, and books can be EPUB 2 or 3.

The package holds the windowed program folivane (Qt 6) and its command-line
twin folivane-cli.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://folivane.example/)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# dpkg-shlibdeps finds the libraries the programs link to. It cannot see the Qt plugin
# that draws the window's SVG icons, which Qt loads at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts a cover made from the title is drawn with: Latin in DejaVu Serif, Chinese and
# Japanese in Noto CJK. Without them a book gets no such cover, and says why.
# iso-codes names the languages of archives' headers.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-noto-cjk, iso-codes")
if(FOLIVANE_BUILD_UI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
    # Qt's own texts (dialog buttons, the file dialog) in the user's language.
    string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", qt6-translations-l10n")
endif()

# Debian's rules for what a package holds: stripped programs, folders 0755, control
# files 0644 (scripts 0755) whatever the umask of whoever builds it.
set(CPACK_STRIP_FILES ON)
set(CPACK_FOLIVANE_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageStrip.cmake)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
