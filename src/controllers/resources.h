#pragma once

// The compiled-in resource bundles (icons and help pages, images, translations
// and flags) live in the program's library; this registers them with the
// resource system.
namespace Resources {
void registerAll();
}
