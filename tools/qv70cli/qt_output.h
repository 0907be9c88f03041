#pragma once

// What the commands drawn with Qt share: an application on the offscreen
// platform, and files written whole.

#include <QByteArray>
#include <QGuiApplication>
#include <memory>
#include <string>

namespace qv70::cli {

// A QGuiApplication on the offscreen platform whatever the desktop is: no
// display is needed and none changes the drawing. Qt's notes about the
// environment are kept off the command's output.
std::unique_ptr<QGuiApplication> OffscreenApplication();

// Writes `bytes` to `path` atomically; `what` names the output in the
// message when there is nothing to write. The exit status.
int WriteOutput(const std::string& path, const QByteArray& bytes, const std::string& what);

}  // namespace qv70::cli
