#pragma once

#include <QString>

// Steps of adding a user font, apart from the dialogs.
namespace userfonts {

// Copies the font file into the folder under its own file name. A file of
// that name is replaced only once the whole copy is written, so a failed copy,
// or a source that is that very file, never loses the font. Returns the path
// of the copy, or an empty text on failure.
QString installFontFile(const QString& source, const QString& folder);

// The config that describes the font file of that name in the folder: the
// base name's config when it is missing (then written) or already names this
// font (then kept as it is); otherwise a new config under the first free name
// "<base name>-2.json", "-3", ... An existing config is never changed. Returns
// an empty text when no config could be written.
QString fontConfigFor(const QString& folder, const QString& fontFileName);

// The text of a new config for the font file.
QByteArray configText(const QString& fontFileName);

}
