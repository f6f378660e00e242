# QScintilla for Qt 6 ships no CMake package: find its header and library
# beside Qt's own and offer them as the imported target QScintilla::QScintilla.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
get_target_property(_qt_includes Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)

find_path(QScintilla_INCLUDE_DIR Qsci/qsciscintilla.h HINTS ${_qt_includes} PATH_SUFFIXES qt6)
find_library(QScintilla_LIBRARY NAMES qscintilla2_qt6)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QScintilla REQUIRED_VARS QScintilla_LIBRARY QScintilla_INCLUDE_DIR)

if(QScintilla_FOUND AND NOT TARGET QScintilla::QScintilla)
  add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
  set_target_properties(QScintilla::QScintilla PROPERTIES
    IMPORTED_LOCATION ${QScintilla_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${QScintilla_INCLUDE_DIR}
    INTERFACE_LINK_LIBRARIES Qt6::Widgets)
endif()
mark_as_advanced(QScintilla_INCLUDE_DIR QScintilla_LIBRARY)
