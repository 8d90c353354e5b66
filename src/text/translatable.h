#pragma once

// Marks a text for the catalogs where it is written; it stays the English text, and the message
// id under which a catalog is asked for it where it is shown.
#define N_(text) text

// Marks the singular and plural English of a text whose form follows a number; it stands for
// both, as two arguments.
#define NP_(singular, plural) singular, plural
