# Precompiled headers: the standard library, Qt and GoogleTest headers that
# most sources include are compiled once per build into three shared headers
# (one for libraries without a GUI, one for those with one, one for the tests)
# that every target of that kind reuses. Each source still includes what it
# uses: a build with -DVESK_PRECOMPILED_HEADERS=OFF shows a missing include.
#
# GCC takes a precompiled header only when the macros defined when it was made
# are defined the same way where it is used, and the macros it tests are not
# defined there otherwise. The donors below are therefore made with the fewest
# definitions (Qt's module macros of Qt Core only, for the libraries), and hold
# no header that tests a macro that varies between targets (QtTest tests the
# module macros and the test folder's path, so it stays out). -Winvalid-pch,
# an error under -Werror, fails the build of a target that cannot use its
# precompiled header rather than letting it compile everything slowly.

option(VESK_PRECOMPILED_HEADERS "Compile the common standard, Qt and GoogleTest headers once per build" ON)

set(VESK_PCH_STANDARD
    <algorithm> <array> <chrono> <cmath> <cstdint> <functional> <limits> <map> <memory> <optional> <set>
    <string> <utility> <variant> <vector>)
set(VESK_PCH_QT_CORE
    <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QJsonArray> <QJsonDocument>
    <QJsonObject> <QList> <QObject> <QPointer> <QString> <QStringList> <QTimer> <QUrl> <QUuid> <QVariant>
    <QVariantMap>)
set(VESK_PCH_QT_GUI
    <QApplication> <QColor> <QEvent> <QFont> <QFontMetricsF> <QGuiApplication> <QHBoxLayout> <QImage> <QKeyEvent>
    <QLabel> <QMouseEvent> <QPainter> <QPointF> <QPushButton> <QRectF> <QVBoxLayout> <QWidget> <QWindow>)
set(VESK_PCH_TESTS <gtest/gtest.h> <QTemporaryDir>)

# vesk_precompiled_headers()
# Defines the donors: call it once every option that applies to all targets
# (the sanitizers') is set, before the libraries and tests are defined.
function(vesk_precompiled_headers)
  if(NOT VESK_PRECOMPILED_HEADERS)
    return()
  endif()
  set(source ${CMAKE_SOURCE_DIR}/cmake/PrecompiledHeaders.cpp)

  add_library(vesk_pch_core STATIC ${source})
  target_link_libraries(vesk_pch_core PRIVATE Qt6::Core)
  target_precompile_headers(vesk_pch_core PRIVATE ${VESK_PCH_STANDARD} ${VESK_PCH_QT_CORE})

  add_library(vesk_pch_gui STATIC ${source})
  target_link_libraries(vesk_pch_gui PRIVATE Qt6::Core)
  # Qt Gui's and Widgets' headers without their module macros, which the
  # libraries without Widgets do not define.
  target_include_directories(vesk_pch_gui SYSTEM PRIVATE
      $<TARGET_PROPERTY:Qt6::Gui,INTERFACE_INCLUDE_DIRECTORIES>
      $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
  target_precompile_headers(vesk_pch_gui PRIVATE ${VESK_PCH_STANDARD} ${VESK_PCH_QT_CORE} ${VESK_PCH_QT_GUI})

  add_library(vesk_pch_tests STATIC ${source})
  target_link_libraries(vesk_pch_tests PRIVATE GTest::gtest Qt6::Widgets Qt6::Network)
  target_precompile_headers(vesk_pch_tests PRIVATE
      ${VESK_PCH_STANDARD} ${VESK_PCH_QT_CORE} ${VESK_PCH_QT_GUI} ${VESK_PCH_TESTS})

  foreach(donor IN ITEMS vesk_pch_core vesk_pch_gui vesk_pch_tests)
    target_compile_options(${donor} PRIVATE ${VESK_WARNINGS})
    set_target_properties(${donor} PROPERTIES AUTOMOC OFF EXCLUDE_FROM_ALL ON)
  endforeach()
endfunction()

# vesk_use_precompiled_headers(<target> <core|gui|tests>)
# Has the target use the shared precompiled header of that kind.
function(vesk_use_precompiled_headers target kind)
  if(VESK_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} REUSE_FROM vesk_pch_${kind})
  endif()
endfunction()
