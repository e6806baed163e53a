// Background gradients drawn from the box colour. Each value is a gradient
// function that a "-webkit-" prefix turns into one WebKit draws.
var gradiaents = [
    { value: "linear-gradient(top, @bgColor,  lighten(saturate(spin(@bgColor, 341), 0), 4))" },
    { value: "linear-gradient(top, lighten(@bgColor, 10), darken(@bgColor, 10))" },
    { value: "linear-gradient(top, lighten(@bgColor, 20), @bgColor)" },
    { value: "linear-gradient(top, @bgColor, darken(@bgColor, 20))" },
    { value: "linear-gradient(left, lighten(@bgColor, 12), darken(@bgColor, 12))" },
    { value: "linear-gradient(top left, lighten(@bgColor, 15), darken(@bgColor, 15))" },
    { value: "linear-gradient(top right, lighten(@bgColor, 15), darken(@bgColor, 15))" },
    { value: "linear-gradient(top, lighten(spin(@bgColor, -20), 5), darken(spin(@bgColor, 20), 5))" },
    { value: "linear-gradient(top, darken(@bgColor, 8), lighten(@bgColor, 12) 50%, darken(@bgColor, 8))" }
];
