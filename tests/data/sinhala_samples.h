// Ordinary Sinhala typed in the default map's scheme, with the Unicode text
// it must give. Shared by the conversion test and the font test.
#pragma once

#include <string>

struct SinhalaSample {
  const char* typed;
  const char16_t* expected;
};

#define ZWJ u"\u200D"

inline constexpr SinhalaSample kSinhalaSamples[] = {
    // everyday words
    {"amma", u"අම්ම"},
    {"ammaa", u"අම්මා"},
    {"thaaththaa", u"තාත්තා"},
    {"gedhara", u"ගෙදර"},
    {"mama", u"මම"},
    {"oyaa", u"ඔයා"},
    {"api", u"අපි"},
    {"eyaa", u"එයා"},
    {"aeya", u"ඇය"},
    {"aeththa", u"ඇත්ත"},
    {"ayiyaa", u"අයියා"},
    {"Lamayaa", u"ළමයා"},
    {"potha", u"පොත"},
    {"bath", u"බත්"},
    {"wathura", u"වතුර"},
    {"vathura", u"වතුර"},
    {"kaaema", u"කෑම"},
    {"mata", u"මට"},
    {"kadee", u"කඩේ"},
    {"ekak", u"එකක්"},
    {"iskoolaya", u"ඉස්කෝලය"},
    {"ruupaya", u"රූපය"},
    {"dheeshaya", u"දේශය"},
    {"ithihaasaya", u"ඉතිහාසය"},
    {"gauravaya", u"ගෞරවය"},
    {"jalaya", u"ජලය"},
    {"foon eka", u"ෆෝන් එක"},
    // aspirated and retroflex twins
    {"BaaShaava", u"භාෂාව"},
    {"Cheedhaya", u"ඡේදය"},
    {"kaTina", u"කඨින"},
    {"Palaya", u"ඵලය"},
    {"dhuHKaya", u"දුඃඛය"},
    {"gaNanaya", u"ගණනය"},
    // anusvara and the nasal letters
    {"sixhala", u"සිංහල"},
    {"naxgi", u"නංගි"},
    {"vaaXmaya", u"වාඞ්මය"},
    {"hazdha", u"හඳ"},
    {"gazga", u"ගඟ"},
    {"koLazba", u"කොළඹ"},
    {"azdanavaa", u"අඬනවා"},
    {"gnaathiyaa", u"ඤාතියා"},
    {"aaknaava", u"ආඥාව"},
    // vocalic r
    {"kRuShikaRmaya", u"කෘෂිකර්" ZWJ u"මය"},
    {"hRudhaya", u"හෘදය"},
    {"RuShi", u"ඍෂි"},
    // rakaransaya
    {"kramaya", u"ක්" ZWJ u"රමය"},
    {"prashnaya", u"ප්" ZWJ u"රශ්නය"},
    {"preemaya", u"ප්" ZWJ u"රේමය"},
    {"praknaava", u"ප්" ZWJ u"රඥාව"},
    {"kiloograaem", u"කිලෝග්" ZWJ u"රෑම්"},
    {"shathruvaa", u"ශත්" ZWJ u"රුවා"},
    {"kruurayaa", u"ක්" ZWJ u"රූරයා"},
    {"puthrayaa", u"පුත්" ZWJ u"රයා"},
    {"sahasra", u"සහස්" ZWJ u"ර"},
    {"ixgriisi", u"ඉංග්" ZWJ u"රීසි"},
    {"kSheethraya", u"ක්ෂේත්" ZWJ u"රය"},
    // yansaya
    {"vidhyaalaya", u"විද්" ZWJ u"යාලය"},
    {"sathya", u"සත්" ZWJ u"ය"},
    {"vyaapaaraya", u"ව්" ZWJ u"යාපාරය"},
    {"aDhyaapanaya", u"අධ්" ZWJ u"යාපනය"},
    {"vaidhyavarayaa", u"වෛද්" ZWJ u"යවරයා"},
    {"raajyaya", u"රාජ්" ZWJ u"යය"},
    {"vyuuhaya", u"ව්" ZWJ u"යූහය"},
    // repaya, and ra + virama + ZWJ before ya
    {"DhaRmaya", u"ධර්" ZWJ u"මය"},
    {"Dharmaya", u"ධර්මය"},
    {"kaaryaalaya", u"කාර්" ZWJ u"යාලය"},
    // independent vowels
    {"a aa ae aae i ii u uu", u"අ ආ ඇ ඈ ඉ ඊ උ ඌ"},
    {"e ee ai o oo au Ru Ruu iLu iLuu", u"එ ඒ ඓ ඔ ඕ ඖ ඍ ඎ ඏ ඐ"},
    // "&" keeps letters apart
    {"ag&ni", u"අග්නි"},
    {"k&ya", u"ක්ය"},
    // sentences
    {"shrii laxkaava", u"ශ්" ZWJ u"රී ලංකාව"},
    {"mama gedhara yanavaa.", u"මම ගෙදර යනවා."},
    {"api shrii laxkaavata yamu.", u"අපි ශ්" ZWJ u"රී ලංකාවට යමු."},
    {"ammaa kaaema uyanavaa.", u"අම්මා කෑම උයනවා."},
    {"oyaata kohomadha?", u"ඔයාට කොහොමද?"},
    {"sixhala BaaShaava 2024", u"සිංහල භාෂාව 2024"},
    {"mama\r\noyaa", u"මම\r\nඔයා"},
};

#undef ZWJ
