// A sine in double precision computed with additions, subtractions, multiplications and
// divisions only, so that it gives the same bits on every target whatever the C
// library's sin does (x87 or not). It carries about 106 bits through the work
// (double-double arithmetic) and rounds once at the end, which makes it the correctly
// rounded sine for every argument the sine table uses.
#pragma once

// sin(x) for 0 <= x <= 8; used to build the sine table.
double exactSine(double x);
