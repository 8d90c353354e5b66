#pragma once

#include "eval/evaluation_sequence.h"

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

// Deeper lines are refused as they are read; a request itself is one level deep.
constexpr std::size_t MaxRequestNesting = 1000;

// What a line is told that is JSON but no request: held whole or read in parts, the same.
inline constexpr char16_t TooDeepText[] = u"nested more than 1000 levels deep";
inline constexpr char16_t NotAnObjectText[] = u"not a JSON object";
inline constexpr char16_t NotAStringText[] = u"\" is not a string";  // after the quoted key

// Reads one JSON Lines request {"main":…,"x":…,"y":…,"z":…} into `formulas`; an absent member
// gives an empty formula. Returns why the line is not such a request, and then every formula
// is empty, or empty text. \u escapes give the exact UTF-16 units, lone surrogates included.
// Reuses the formulas' storage, so a caller that keeps one Formulas for every line seldom
// allocates.
std::u16string readRequest(std::string_view line, Formulas& formulas);

// The same answer as readRequest, always through the general JSON parser: the reference that
// readRequest's shortcut for the common request must agree with.
std::u16string parseRequest(std::string_view line, Formulas& formulas);

// Reads a request, {"main":"…",…} with the four known keys and string values only, from a line
// given in pieces, without allocating beyond the formulas' own growth. It reads every line the
// JSON parser reads as a request; any other line, a syntax error included, is left to the
// parser, so that every error text comes from one place.
//
// A formula longer than `heldUnits` is not held whole: the formulas keep what decides the
// outcome of an evaluation (the text, or its start and the fact that it is too long), and
// placeProblem() gives the problem of such a run the place it has in the text as typed.
class RequestScanner
{
public:
    // Empties `formulas` and reads into them.
    explicit RequestScanner(Formulas& formulas,
                            std::size_t heldUnits = std::numeric_limits<std::size_t>::max());

    // The next bytes of the line; false once the line cannot be a common request, and then the
    // formulas are in no particular state.
    bool feed(std::string_view bytes);

    // After the last bytes: whether the line is a common request, then read into the formulas.
    bool finish();

    // Moves the problem of a run on the formulas read to where it lies in the typed text.
    void placeProblem(Outcome& outcome) const;

private:
    enum class At { Start, ByteOrderMark, Open, Key, KeyEscape, AfterKey, BeforeValue, Value,
                    Escape, Sequence, AfterValue, NextKey, End, Ignored, Failed };

    // What a formula longer than heldUnits lost, in UTF-16 units of the typed text.
    struct Shortened
    {
        bool isActive = false;
        bool isInLeading = true;      // no unit but spaces yet
        std::size_t units = 0;        // all of them
        std::size_t leading = 0;      // spaces before the first other unit
        std::size_t keptLeading = 0;  // those of them the text holds
        std::size_t lastNonSpace = 0;

        std::size_t trimmed() const { return isInLeading ? 0 : lastNonSpace + 1 - leading; }
    };

    std::u16string& formula(std::size_t index);
    void step(unsigned char byte);
    void value(unsigned char byte);
    void sequence(unsigned char byte);
    void escape(unsigned char byte);
    void escaped(char16_t unit);
    void keyUnit(char16_t unit);
    void putAscii(std::string_view run);
    void put(char16_t unit);
    void shorten(std::u16string& text, Shortened& cut);

    Formulas& m_formulas;
    const std::size_t m_heldUnits;
    std::array<Shortened, 4> m_shortened{};  // indexed as the stages
    At m_at = At::Start;
    std::size_t m_target = 0;  // the stage of the value being read
    bool m_hasBytes = false;
    std::array<char, 4> m_key{};   // a key read so far
    std::size_t m_keySize = 0;
    std::size_t m_pendingSize = 0;  // mark, escape digits or sequence bytes read
    std::size_t m_sequenceLength = 0;
    unsigned m_low = 0;   // the range of the second byte of a sequence
    unsigned m_high = 0;
    char32_t m_codePoint = 0;
};
