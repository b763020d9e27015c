# Packages made by CPack from the install rules: a .tar.gz and a .deb on Linux,
# a .zip on Windows. The version is the project's.
set(CPACK_PACKAGE_NAME tamvek)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "tamvek maintainers")
set(CPACK_PACKAGE_CONTACT "tamvek maintainers <maintainers@users.noreply.c-seed-b7afbecd.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Recharge on a groundwater model grid from the diversions of irrigation groups")
set(CPACK_PACKAGE_DESCRIPTION
    "For one irrigation year, tamvek turns the surface-water diversions of irrigation groups into return-flow recharge on the cells of a groundwater model grid, maps the groups' irrigated acreage onto the same grid, and writes the model's fixed-format input files. The example data set and the README are in the documentation directory.")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # The programs need only the C and C++ runtimes; dpkg-shlibdeps names their
  # versions where it is installed (dpkg-dev).
  find_program(tamvek_dpkg_shlibdeps dpkg-shlibdeps)
  if(tamvek_dpkg_shlibdeps)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libgcc-s1, libstdc++6")
  endif()
endif()

include(CPack)
