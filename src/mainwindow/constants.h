#pragma once

#include <QString>
#include <QStringList>

// File and folder names, keys and fixed texts shared by the main window's
// source files. Built before main() runs.

extern const uint DEFAULT_CODE;
extern const QString DEFAULT_FONT_NAME;
extern const QString DEFAULT_TEMPLATE;

extern const QString VAR_NAME_TEMPLATES;
extern const QString VAR_NAME_AUTHOR;
extern const QString VAR_NAME_LINK;
extern const QString VAR_NAME_FONT;
extern const QString VAR_NAME_FONT_CAPTION;
extern const QString VAR_NAME_GRADIENTS;

extern const QString PROPERTY_NAME;
extern const QString PROPERTY_ALIAS;
extern const QString PROPERTY_PIXMAP;
extern const QString PROPERTY_CFG;
extern const QString PROPERTY_ADDON;
extern const QString PROPERTY_TOOLTIP;

extern const QString DEFAULT_LESS_NAME;
extern const QString ENGINE_LESS_NAME;
extern const QString MAKET_FILE_NAME;
extern const QString PATH_TO_JS;
extern const QString TEMPLATES_FILE_NAME;

extern const QString FONTS_DIR;
extern const QString ICONS_DIR;
extern const QString GRADIENT_DIR;
extern const QString USER_TEMPLATES_DIR;
extern const QString USER_TEMPLATES_FILE_NAME;
extern const QString USER_THUMBNAIL_FILE_NAME;
extern const QString USER_ADDON_FILE_NAME;

extern const QString TOOLTIP_HTML;
extern const QString GRADIENT_HTML;
extern const QStringList ignoreGlyphNames;

extern const QString PARAM_MAIN_COLOR;
extern const QString PARAM_FONT_FAMILY;
extern const QString PARAM_COLOR;
extern const QString PARAM_COLOR_SCHEMES;
extern const QString PARAM_GRADIENT;
extern const QString PARAM_OPACITY;
extern const QString PARAM_SHADOW_COLOR;
extern const QString PARAM_SHADOW_X;
extern const QString PARAM_SHADOW_Y;
extern const QString PARAM_SHADOW_BLUR;
extern const QString PARAM_LONG_SHADOW;
extern const QString PARAM_MOVE_X;
extern const QString PARAM_MOVE_Y;
extern const QString PARAM_ANGLE;
extern const QString PARAM_SCALE;
extern const QString PARAM_STROKE_COLOR;
extern const QString PARAM_STROKE_WIDTH;
extern const QString PARAM_BG_GRADIENT;
extern const QString PARAM_BG_COLOR;
extern const QString PARAM_BG_OPACITY;
extern const QString PARAM_BG_SHADOW_COLOR;
extern const QString PARAM_BG_SHADOW_X;
extern const QString PARAM_BG_SHADOW_Y;
extern const QString PARAM_BG_SHADOW_BLUR;
extern const QString PARAM_BG_ANGLE;
extern const QString PARAM_BG_LONG_SHADOW;
extern const QString PARAM_BORDER_COLOR;
extern const QString PARAM_BORDER_WIDTH;
extern const QString PARAM_BORDER_RADIUS;

extern const QString ORANGE_BORDER_1PX;
extern const QString ORANGE_BORDER_2PX;
