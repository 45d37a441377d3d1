# vantor_forbid_gui_headers(<target>)
#
# Makes every include of a Qt GUI module header (QtWidgets/..., QtGui/..., ...) an
# error inside <target>. The GUI modules' own folders are not on the core's include
# path anyway, so "#include <QWidget>" already fails; this catches the spelled-out
# "#include <QtWidgets/QWidget>", which would otherwise resolve through Qt's base folder.
set(VANTOR_CORE_GUARD_DIR ${CMAKE_BINARY_DIR}/core_guard)
set(_guarded_modules QtGui QtWidgets QtSvg QtSvgWidgets QtMultimedia QtMultimediaWidgets
                     QtOpenGL QtOpenGLWidgets QtPrintSupport)

get_target_property(_qt_core_includes Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
foreach(_inc IN LISTS _qt_core_includes)
  if(_inc MATCHES "/QtCore$")
    get_filename_component(_qt_base "${_inc}" DIRECTORY)
  endif()
endforeach()

foreach(_module IN LISTS _guarded_modules)
  file(GLOB _headers RELATIVE "${_qt_base}/${_module}" "${_qt_base}/${_module}/*")
  list(APPEND _headers ${_module})
  foreach(_header IN LISTS _headers)
    set(_stub "${VANTOR_CORE_GUARD_DIR}/${_module}/${_header}")
    if(NOT EXISTS "${_stub}")
      file(WRITE "${_stub}"
        "#error \"GUI header ${_module}/${_header} in vantor_core: core code stays widget-free, move this file to vantor_gui\"\n")
    endif()
  endforeach()
endforeach()

function(vantor_forbid_gui_headers target)
  target_include_directories(${target} BEFORE PRIVATE ${VANTOR_CORE_GUARD_DIR})
endfunction()
