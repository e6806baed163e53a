#pragma once

#include <QString>

#include <functional>

class QWidget;

// Pieces shared by the offscreen renderer, the exporter and their tests.
namespace exportsupport {

// Largest icon side that is rendered; larger sizes are refused up front.
constexpr int MaxIconSide = 4096;

// How long one offscreen page may take to load, in milliseconds (30 s
// unless changed).
int pageLoadTimeoutMs();
void setPageLoadTimeoutMs(int milliseconds);

// Every warning of an export goes through warn(). The default shows a modal
// warning box titled with the application name; tests install a handler to
// see the texts without a box.
using WarningHandler = std::function<void(QWidget* parent, const QString& text)>;
void setWarningHandler(WarningHandler handler);
void warn(QWidget* parent, const QString& text);

// Why the last GetWebImage gave a null image; empty after a good one.
QString lastRenderError();

// While a RenderBatch lives, GetWebImage keeps one offscreen view per size
// and, when only the glyph changes between two renders of the same page,
// swaps the glyph in the loaded page instead of loading and compiling the
// page again. The pixels are those of a fresh page. Without a batch every
// render makes and deletes its own view.
class RenderBatch {
public:
    RenderBatch();
    ~RenderBatch();
    RenderBatch(const RenderBatch&) = delete;
    RenderBatch& operator=(const RenderBatch&) = delete;

    // Page loads and glyph swaps done so far in this batch.
    int pageLoads() const;
    int glyphSwaps() const;

    struct Private;

private:
    Private* d;
};

}
