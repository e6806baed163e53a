// Hard-edged gradients: a box split into a lighter and a darker half.
var gradiaents = [
    { value: "linear-gradient(top, lighten(@bgColor, 25) 0%, lighten(@bgColor, 6) 50%, @bgColor 51%, darken(@bgColor, 6) 100%)" },
    { value: "linear-gradient(top, @bgColor 50%, darken(@bgColor, 8) 50%)" },
    { value: "linear-gradient(top, darken(@bgColor, 8) 50%, @bgColor 50%)" },
    { value: "linear-gradient(left, @bgColor 50%, darken(@bgColor, 8) 50%)" },
    { value: "linear-gradient(top left, lighten(@bgColor, 6) 50%, darken(@bgColor, 6) 50%)" },
    { value: "linear-gradient(top right, @bgColor 50%, darken(desaturate(@bgColor, 10), 10) 50%)" },
    { value: "repeating-linear-gradient(top left, @bgColor 0%, @bgColor 6%, darken(@bgColor, 4) 6%, darken(@bgColor, 4) 12%)" }
];
