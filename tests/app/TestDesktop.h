#pragma once

#include "platform/simulated/DesktopScenario.h"

namespace vesk::test {

inline const QString kEditorBundleID = QStringLiteral("com.example.Editor");
inline const QString kChatBundleID = QStringLiteral("com.example.Chat");

// One 1440 × 900 display; the editor runs with one window, the chat
// application is installed but not running.
inline platform::DesktopScenario oneDisplayScenario()
{
    platform::DesktopScenario scenario;
    platform::DisplaySpec display;
    display.displayID = 1;
    display.bounds = QRectF(0, 0, 1440, 900);
    display.name = QStringLiteral("Built-in Display");
    scenario.displays.push_back(display);

    platform::WindowSpec editorWindow;
    editorWindow.title = QStringLiteral("notes.md");
    editorWindow.bounds = QRectF(100, 100, 800, 600);

    platform::BundleSpec editor;
    editor.path = QStringLiteral("/Applications/Editor.app");
    editor.bundleIdentifier = kEditorBundleID;
    editor.name = QStringLiteral("Editor");
    editor.launch.windows = {editorWindow};
    scenario.bundles.push_back(editor);

    platform::BundleSpec chat;
    chat.path = QStringLiteral("/Applications/Chat.app");
    chat.bundleIdentifier = kChatBundleID;
    chat.name = QStringLiteral("Chat");
    platform::WindowSpec chatWindow;
    chatWindow.title = QStringLiteral("Chat");
    chatWindow.bounds = QRectF(900, 200, 400, 500);
    chat.launch.windows = {chatWindow};
    scenario.bundles.push_back(chat);

    platform::ApplicationSpec running;
    running.bundleIdentifier = kEditorBundleID;
    running.name = QStringLiteral("Editor");
    running.bundlePath = editor.path;
    running.windows = {editorWindow};
    scenario.applications.push_back(running);
    return scenario;
}

} // namespace vesk::test
