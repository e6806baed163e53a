#include "constants.h"

const uint DEFAULT_CODE = 0xF015;
const QString DEFAULT_FONT_NAME = QStringLiteral("FontAwesome");
const QString DEFAULT_TEMPLATE = QStringLiteral("Circle Inner Shadow");

const QString VAR_NAME_TEMPLATES = QStringLiteral("templates");
const QString VAR_NAME_AUTHOR = QStringLiteral("author");
const QString VAR_NAME_LINK = QStringLiteral("link");
const QString VAR_NAME_FONT = QStringLiteral("font");
const QString VAR_NAME_FONT_CAPTION = QStringLiteral("name");
const QString VAR_NAME_GRADIENTS = QStringLiteral("gradiaents");

const QString PROPERTY_NAME = QStringLiteral("name");
const QString PROPERTY_ALIAS = QStringLiteral("alias");
const QString PROPERTY_PIXMAP = QStringLiteral("pixmap");
const QString PROPERTY_CFG = QStringLiteral("cfg");
const QString PROPERTY_ADDON = QStringLiteral("addon");
const QString PROPERTY_TOOLTIP = QStringLiteral("tooltip");

const QString DEFAULT_LESS_NAME = QStringLiteral("scripts/default.less");
const QString ENGINE_LESS_NAME = QStringLiteral("scripts/engine.less");
const QString MAKET_FILE_NAME = QStringLiteral("scripts/maket.html");
const QString PATH_TO_JS = QStringLiteral("qrc:/scripts/less-1.4.1.min.js");
const QString TEMPLATES_FILE_NAME = QStringLiteral("templates.qs");

const QString FONTS_DIR = QStringLiteral("fonts");
const QString ICONS_DIR = QStringLiteral("icons");
const QString GRADIENT_DIR = QStringLiteral("gradient");
const QString USER_TEMPLATES_DIR = QStringLiteral("user_templates");
const QString USER_TEMPLATES_FILE_NAME = QStringLiteral("params.json");
const QString USER_THUMBNAIL_FILE_NAME = QStringLiteral("thumbnail.png");
const QString USER_ADDON_FILE_NAME = QStringLiteral("addon.json");

const QString TOOLTIP_HTML = QStringLiteral("%1<br><img src=\"%2\">");

// The gradient swatch page: "@less" is replaced by the variable block.
const QString GRADIENT_HTML =
    QStringLiteral("<!DOCTYPE html><html><head><title></title><style type=\"text/less\">@less"
                   "body{background-color:@bgColor;width:@width;height:@height;margin:0;}"
                   "div{width:100%;height:100%;border:solid 0px @bgColor;"
                   "background-image:e(\"-webkit-@{gradient}\");}</style><script src=\"")
    + PATH_TO_JS
    + QStringLiteral("\" type=\"text/javascript\"></script></head><body><div></div></body></html>");

const QStringList ignoreGlyphNames = {QStringLiteral("space"), QStringLiteral("control")};

const QString PARAM_MAIN_COLOR = QStringLiteral("mainColor");
const QString PARAM_FONT_FAMILY = QStringLiteral("fontFamily");
const QString PARAM_COLOR = QStringLiteral("color");
const QString PARAM_COLOR_SCHEMES = QStringLiteral("colorSchemes");
const QString PARAM_GRADIENT = QStringLiteral("gradient");
const QString PARAM_OPACITY = QStringLiteral("opacity");
const QString PARAM_SHADOW_COLOR = QStringLiteral("shadowColor");
const QString PARAM_SHADOW_X = QStringLiteral("shadowX");
const QString PARAM_SHADOW_Y = QStringLiteral("shadowY");
const QString PARAM_SHADOW_BLUR = QStringLiteral("shadowBlur");
const QString PARAM_LONG_SHADOW = QStringLiteral("longShadow");
const QString PARAM_MOVE_X = QStringLiteral("moveX");
const QString PARAM_MOVE_Y = QStringLiteral("moveY");
const QString PARAM_ANGLE = QStringLiteral("angle");
const QString PARAM_SCALE = QStringLiteral("scale");
const QString PARAM_STROKE_COLOR = QStringLiteral("strokeColor");
const QString PARAM_STROKE_WIDTH = QStringLiteral("strokeWidth");
const QString PARAM_BG_GRADIENT = QStringLiteral("bgGradient");
const QString PARAM_BG_COLOR = QStringLiteral("bgColor");
const QString PARAM_BG_OPACITY = QStringLiteral("bgOpacity");
const QString PARAM_BG_SHADOW_COLOR = QStringLiteral("bgShadowColor");
const QString PARAM_BG_SHADOW_X = QStringLiteral("bgShadowX");
const QString PARAM_BG_SHADOW_Y = QStringLiteral("bgShadowY");
const QString PARAM_BG_SHADOW_BLUR = QStringLiteral("bgShadowBlur");
const QString PARAM_BG_ANGLE = QStringLiteral("bgAngle");
const QString PARAM_BG_LONG_SHADOW = QStringLiteral("bgLongShadow");
const QString PARAM_BORDER_COLOR = QStringLiteral("borderColor");
const QString PARAM_BORDER_WIDTH = QStringLiteral("borderWidth");
const QString PARAM_BORDER_RADIUS = QStringLiteral("borderRadius");

const QString ORANGE_BORDER_1PX =
    QStringLiteral("QLabel { color: #775731 }:hover{border: 1px solid #78ba8a;border-radius: 10px;}");
const QString ORANGE_BORDER_2PX = QStringLiteral("color: #775731;border: 2px solid #78ba8a;border-radius: 10px;");
