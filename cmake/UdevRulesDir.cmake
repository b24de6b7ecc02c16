# Where the udev rule is installed: the folder the system's udev names, overridable by packagers.
include_guard(GLOBAL)

if(NOT DEFINED ZARVIN_UDEV_RULES_DIR)
  set(udev_dir "")
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_get_variable(udev_dir udev udevdir)
  endif()
  if(NOT udev_dir)
    set(udev_dir /usr/lib/udev)
  endif()
  set(ZARVIN_UDEV_RULES_DIR ${udev_dir}/rules.d CACHE PATH
      "Folder the udev rule 70-zarvin.rules is installed to")
endif()
set(ZARVIN_UDEV_RULE_FILE ${ZARVIN_UDEV_RULES_DIR}/70-zarvin.rules)
