// Round gradients: glows, vignettes and a light from above.
var gradiaents = [
    { value: "radial-gradient(circle, lighten(saturate(spin(@bgColor, -8), 13), 6), @bgColor)" },
    { value: "radial-gradient(circle, lighten(@bgColor, 15), darken(@bgColor, 5))" },
    { value: "radial-gradient(circle, @bgColor 40%, darken(@bgColor, 18))" },
    { value: "radial-gradient(top, circle cover, lighten(@bgColor, 22), @bgColor 75%)" },
    { value: "radial-gradient(top left, circle cover, lighten(@bgColor, 18), darken(@bgColor, 12))" }
];
