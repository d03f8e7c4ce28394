#pragma once

#include <QIcon>
#include <QString>

// The compiled-in resource bundles (icons and help pages, images, translations
// and flags) live in the program's library; this registers them with the
// resource system.
namespace Resources {
void registerAll();

// The icon of a resource file, read once per process and shared from then
// on (GUI thread only). Every page and catalogue item shows the same few
// icons: reading the file anew each time decoded it again, and since the
// style caches what it draws per icon, each copy left its own entries
// behind in the pixmap cache, so that memory grew with every page opened.
QIcon icon(const QString &asPath);
} // namespace Resources
