#pragma once
// The plug-in's images, drawn in code: the button images "OK" and "Abbruch" of the shared image
// list and the calculator windows' icon (resource "9"). Unknown keys give a null icon.

#include <QIcon>
#include <string>

namespace tarvex::desktop {

QIcon imageFor(const std::string& key);

}  // namespace tarvex::desktop
