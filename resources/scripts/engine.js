// LESS for the two gradients, written into the page as a second LESS block.
// That block sees nothing of the first one, so it defines what it uses.
function main(userParams) {
    var result = '';
    userParams = userParams || {};

    var bgColor = userParams.bgColor;
    if (bgColor !== undefined && bgColor !== null && String(bgColor) !== '') {
        bgColor = String(bgColor);
        var transparentBg = (bgColor === 'transparent');
        if (!transparentBg)
            result += '@bgColor:' + bgColor + ';';
        if (userParams.bgGradient !== undefined) {
            var bgGradient = String(userParams.bgGradient);
            // Without a box colour this block has no @bgColor to compute with.
            if (!(transparentBg && bgGradient.indexOf('@bgColor') >= 0)) {
                result += '@bgGradient:' + bgGradient + ';';
                result += [
                    '#bg{',
                    "background-image:e('-webkit-@{bgGradient}');",
                    "background-image:e('-moz-@{bgGradient}');",
                    "background-image:e('@{bgGradient}');",
                    '}'
                ].join('');
            }
        }
    }

    var gradient = userParams.gradient;
    if (gradient !== undefined && gradient !== null && String(gradient) !== '') {
        var color = userParams.color;
        if (color === 'transparent')
            result += '@color: #FFF;';
        else
            result += '@color: ' + color + ';';
        // Gradients are written against the box colour; on the glyph they
        // take the glyph colour.
        gradient = String(gradient).split('@bgColor').join('@color');
        result += '@gradient:' + gradient + ';';
        result += [
            '#bg span{',
            "background-image:e('-webkit-@{gradient}');",
            "background-image:e('-moz-@{gradient}');",
            '.cliping(@a) when (@a > ""){-webkit-background-clip: text;}',
            '.cliping(@gradient);',
            'color: transparent;',
            '}'
        ].join('');
    }

    return result;
}

// The element with the given id, created as a div at the end of the body when
// missing, with the given style properties set.
function $(id, style) {
    var element = document.getElementById(id);
    if (!element) {
        element = document.createElement('div');
        element.id = id;
        document.body.appendChild(element);
    }
    if (style) {
        for (var name in style)
            element.style[name] = style[name];
    }
    return element;
}

// Darkens everything around the rectangle with four blocks behind the page.
function setDarkBack(x, y, w, h, color) {
    var common = function (left, top, width, height) {
        return {
            position: 'absolute', zIndex: '-1', background: color,
            left: left + 'px', top: top + 'px',
            width: Math.max(0, width) + 'px', height: Math.max(0, height) + 'px'
        };
    };
    var pageW = Math.max(document.documentElement.scrollWidth, window.innerWidth);
    var pageH = Math.max(document.documentElement.scrollHeight, window.innerHeight);
    $('darkTop', common(0, 0, pageW, y));
    $('darkBottom', common(0, y + h, pageW, pageH - y - h));
    $('darkLeft', common(0, y, x, h));
    $('darkRight', common(x + w, y, pageW - x - w, h));
}

// Bounding rectangle of the box, grown by its shadow blur and by its shadow
// offset turned by the box's angle.
function getBlockSize(userParams) {
    var numberOr = function (value, fallback) {
        var n = parseFloat(value);
        return isNaN(n) ? fallback : n;
    };
    var rect = document.getElementById('bg').getBoundingClientRect();
    var fontSize = numberOr(userParams.fontSize, 100);
    var unit = fontSize / 100;
    var blur = Math.abs(numberOr(userParams.bgShadowBlur, 0)) * unit;
    var sx = numberOr(userParams.bgShadowX, 0) * unit;
    var sy = numberOr(userParams.bgShadowY, 0) * unit;
    var angle = numberOr(userParams.bgAngle, 0) * Math.PI / 180;
    var dx = sx * Math.cos(angle) - sy * Math.sin(angle);
    var dy = sx * Math.sin(angle) + sy * Math.cos(angle);
    var left = Math.min(rect.left, rect.left + dx) - blur;
    var top = Math.min(rect.top, rect.top + dy) - blur;
    var right = Math.max(rect.right, rect.right + dx) + blur;
    var bottom = Math.max(rect.bottom, rect.bottom + dy) + blur;
    return { x: left, y: top, width: right - left, height: bottom - top };
}

// The font size at which that rectangle would be newWidth wide.
function getFontSize(userParams, newWidth) {
    var fontSize = parseFloat(userParams.fontSize);
    if (isNaN(fontSize))
        fontSize = 100;
    return fontSize * newWidth / getBlockSize(userParams).width;
}
