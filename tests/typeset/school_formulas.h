#pragma once

// Formulas of a school worksheet in typeset text, and formulas of graphs as
// the formula language writes them: the picture test draws them on a page,
// the typesetting benchmark times them.
namespace zarno::test {

inline const char16_t *const kSchoolFormulas[] = {
    u"y = ax^2 + bx + c",
    u"x = \\frac{-b \\pm \\sqrt{b^2 - 4ac}}{2a}",
    u"\\frac{1}{2} + \\frac{1}{3} = \\frac{5}{6}",
    u"(a+b)^2 = a^2 + 2ab + b^2",
    u"\\sqrt{2} \\times \\sqrt{3} = \\sqrt{6}",
    u"\\nthrt{3}{8} = 2",
    u"\\sin^2 \\theta + \\cos^2 \\theta = 1",
    u"\\tan \\theta = \\frac{\\sin \\theta}{\\cos \\theta}",
    u"\\sin 30^\\circ = \\frac{1}{2}",
    u"\\cos \\frac{\\pi}{3} = \\frac{1}{2}",
    u"\\theta = \\frac{5}{6} \\pi, -\\frac{\\pi}{4}, 2\\pi",
    u"S = \\pi r^2",
    u"\\lim_{x \\to 0} \\frac{\\sin x}{x} = 1",
    u"\\lim_{n \\to \\infty} (1 + \\frac{1}{n})^n = e",
    u"\\sum_{k=1}^{n} k = \\frac{n(n+1)}{2}",
    u"\\sum_{k=1}^{n} k^2 = \\frac{1}{6} n(n+1)(2n+1)",
    u"\\int_0^1 x^2 dx = \\frac{1}{3}",
    u"\\int_a^b f(x) dx = F(b) - F(a)",
    u"\\vec{a} \\cdot \\vec{b} = \\leftabs \\vec{a} \\rightabs \\leftabs \\vec{b} \\rightabs \\cos "
    u"\\theta",
    u"\\vec{AB} + \\vec{BC} = \\vec{AC}",
    u"\\bar{z} = a - bi",
    u"\\log_2 8 = 3",
    u"a^m \\times a^n = a^{m+n}",
    u"x^{-1} = \\frac{1}{x}",
    u"2^{\\frac{1}{2}} = \\sqrt{2}",
    u"f'(x) = 2x + 1",
    u"\\alpha + \\beta = \\frac{\\pi}{2}",
    u"\\Delta ABC \\quad \\angle",
    u"面積 S = \\frac{1}{2} ab \\sin C",
    u"三角形の内角の和は 180^\\circ",
    u"半径 r の円周の長さは 2\\pi r",
    u"x \\le 3, \\quad y \\ge -1",
    u"a \\ne 0, \\quad x \\in A \\cap B, \\quad A \\subset B",
    u"\\{ x | x > 0 \\}",
    u"y = \\leftabs x - 1 \\rightabs",
    u"\\frac{\\frac{1}{2}}{\\frac{3}{4}} = \\frac{2}{3}",
    u"y = 2\\sin (x - \\frac{\\pi}{6})",
    u"(x-1)(x+2) = 0",
    u"\\sqrt{x^2 + y^2}",
    u"[0, 2\\pi)",
    u"x_1 + x_2 = -\\frac{b}{a}, \\quad x_1 x_2 = \\frac{c}{a}",
    u"1.5 \\times 10^8, \\quad 10^{-3}",
};

// Formulas as a graph dialog shows them, converted to typeset text.
inline const char16_t *const kConvertedFormulas[] = {
    u"x^2-2x+1",
    u"sin(x)^2+cos(x)^2",
    u"(x+1)/(x-1)",
    u"sqrt(x^2+1)/(2x)",
    u"logn(2, x)+nthrt(3, x+1)",
    u"2sin(x-pi/6)",
};

} // namespace zarno::test
