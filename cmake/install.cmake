# What a user gets: tamvek and each companion program that is built
# (tamvek-report, tamvek-modflow, tamvek-years), the README and the example
# data set. On Windows the unpacked folder holds them side
# by side with the script that runs the example.
include(GNUInstallDirs)
set(tamvek_installed_programs tamvek)
if(TARGET tamvek-report)
  list(APPEND tamvek_installed_programs tamvek-report)
endif()
if(TARGET tamvek-modflow)
  list(APPEND tamvek_installed_programs tamvek-modflow)
endif()
if(TARGET tamvek-years)
  list(APPEND tamvek_installed_programs tamvek-years)
endif()
if(WIN32)
  set(tamvek_install_bindir .)
  set(tamvek_install_docdir .)
else()
  set(tamvek_install_bindir ${CMAKE_INSTALL_BINDIR})
  set(tamvek_install_docdir ${CMAKE_INSTALL_DOCDIR})
endif()

install(TARGETS ${tamvek_installed_programs} RUNTIME DESTINATION ${tamvek_install_bindir})
install(FILES README.md DESTINATION ${tamvek_install_docdir})
install(DIRECTORY examples/root examples/work DESTINATION ${tamvek_install_docdir}/examples)
if(WIN32)
  install(PROGRAMS examples/run-example.cmd DESTINATION ${tamvek_install_docdir})
endif()

# The install rules need only these built: make install and make package build
# them without the tests.
add_custom_target(programs)
add_dependencies(programs ${tamvek_installed_programs})
