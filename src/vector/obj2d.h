// OBJ2D: a drawable 2D vector object, a set of coloured line segments in the
// object's own integer coordinates, placed on an image with a position, an
// integer scale and a rotation; and the parser of the object text format.
//
// Ownership: an object owns its segments (and through them every point its
// points list holds, which are the segments' own end points) and its four
// texts, which must be null or allocated with new[]. OBJ2DFree releases them.
#pragma once

#include <cstdint>

#include "core/list.h"

struct IMG;
struct SEG2D;

inline constexpr const char *OBJ2DIdentity[] = {"OBJ2D   ", "20120412", "VORNHALD", "C       ", "CODE    "};

struct OBJ2D {
    char *name;     // the object's name (for a glyph: the character it draws), or null
    char *version;  // free text, or null
    char *author;   // free text, or null
    char *type;     // free text, or null ("2D" in the wire font)
    int32_t x;      // where the object's origin lands on the target, in pixels
    int32_t y;
    int32_t scale;   // integer factor applied before rotation; 0 after creation
    int32_t angle;   // rotation in 1/1024 turn about the object's origin
    LIST *points;    // VEC2D: both end points of every segment, in segment order
    LIST *segments;  // SEG2D: in the order they were added
};

// All fields zero or null, points and segments two new empty lists; null when memory runs out.
OBJ2D *OBJ2DNew();
// Releases the segments (each once, with their end points), both lists, the texts
// and the record; clears the handle. Null address or handle: error, nothing changes.
void OBJ2DFree(OBJ2D **handle);
// Placeholder: no text form; null (a null object is also reported).
char *OBJ2DToASCII(const OBJ2D *object);
// Placeholder: no text form; null (a null text is also reported).
OBJ2D *OBJ2DFromASCII(const char *text);
// Compares nothing: true only when a and b are the same object; a null argument is reported, false.
bool OBJ2DEqual(const OBJ2D *a, const OBJ2D *b);
// Placeholder: checks both arguments, changes nothing.
void OBJ2DCopyTo(const OBJ2D *source, OBJ2D *destination);
// Placeholder: a new empty object as OBJ2DNew gives; a null argument is reported, null.
OBJ2D *OBJ2DCopy(const OBJ2D *object);
// Parses a whole object text into a new list of objects (and null entries for a
// "}" with no open object) in the order of their closing braces. An empty text
// gives an empty list; a null text is reported and gives null. Not re-entrant.
LIST *OBJ2DParse(const char *text);
// Appends the segment to segments and its start, then its end, to points; the
// object takes ownership. Missing object, lists, segment or end point: error, nothing added.
void OBJ2DAddSegment(OBJ2D *object, SEG2D *segment);
// Draws every segment, last to first, scaled, rotated, then moved to (x, y); the
// stored segments never change and nothing is allocated. Missing object, image or list: error.
void OBJ2DDraw(const OBJ2D *object, IMG *image);
// Plots every point, last to first, transformed as OBJ2DDraw does, in its own colour.
// Missing object, image or points list: error.
void OBJ2DDrawPoints(const OBJ2D *object, IMG *image);
void OBJ2DError();
