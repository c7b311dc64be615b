#include "nas/xml/xml_named_references.h"

namespace corvesta {

namespace {

// Entries within a bucket are sorted by their names as HTML writes them,
// capital letters before small ones.
constexpr std::string_view kBuckets[kNamedReferenceBuckets] = {
    "60216oslash60217ugrave60248oslash60249ugrave",                       // 0
    "50937omega60221yacute58968lceil50969omega60253yacute",               // 1
    "50916delta50206icirc50948delta50238icirc68472weierp",                // 2
    "40185sup1",                                                          // 3
    "68970lfloor40178sup2",                                               // 4
    "50922kappa60164curren50954kappa58212mdash40179sup3",                 // 5
    "59830diams58211ndash",                                               // 6
    "68855otimes58969rceil",                                              // 7
    "50338oelig50212ocirc50244ocirc50339oelig58482trade",                 // 8
    "50197aring50931sigma50229aring50963sigma",                           // 9
    "50180acute68971rfloor50732tilde",                                    // 10
    "68249lsaquo",                                                        // 11
    "58734infin68201thinsp",                                              // 12
    "50161iexcl",                                                         // 13
    "50920theta50219ucirc50952theta50251ucirc",                           // 14
    "58254oline",                                                         // 15
    "58260frasl68727lowast",                                              // 16
    "59827clubs60191iquest68250rsaquo",                                   // 17
    "58629crarr50181micro",                                               // 18
    "58222bdquo",                                                         // 19
    "",                                                                   // 20
    "58243prime60177plusmn58242prime",                                    // 21
    "40914beta40946beta",                                                 // 22
    "",                                                                   // 23
    "",                                                                   // 24
    "",                                                                   // 25
    "50171laquo50215times",                                               // 26
    "40710circ",                                                          // 27
    "49001lang",                                                          // 28
    "58220ldquo40175macr",                                                // 29
    "40182para50163pound48476real",                                       // 30
    "",                                                                   // 31
    "58713notin50187raquo",                                               // 32
    "48773cong50223szlig50978upsih",                                      // 33
    "58776asymp58801equiv49002rang58218sbquo",                            // 34
    "50222thorn48659darr48595darr40402fnof58221rdquo50254thorn",          // 35
    "40162cent58722minus",                                                // 36
    "58707exist40170ordf",                                                // 37
    "",                                                                   // 38
    "40921iota58709empty48660harr48596harr40953iota",                     // 39
    "",                                                                   // 40
    "40196auml40228auml48226bull40167sect48838sube",                      // 41
    "",                                                                   // 42
    "48656larr48592larr58853oplus",                                       // 43
    "30176deg58216lsquo40186ordm",                                        // 44
    "40203euml40039apos40235euml48712isin40160nbsp",                      // 45
    "40918zeta40950zeta",                                                 // 46
    "38743and48195emsp48719prod",                                         // 47
    "30935chi38745cap30967chi48194ensp",                                  // 48
    "40207iuml40239iuml48706part48869perp48658rarr48594rarr",             // 49
    "38736ang48836nsub58217rsquo",                                        // 50
    "",                                                                   // 51
    "48901sdot48657uarr48593uarr",                                        // 52
    "40169copy48364euro",                                                 // 53
    "30919eta30951eta",                                                   // 54
    "40214ouml40246ouml48839supe",                                        // 55
    "",                                                                   // 56
    "",                                                                   // 57
    "30038amp30174reg",                                                   // 58
    "48733prop",                                                          // 59
    "",                                                                   // 60
    "30208eth30934phi40220uuml30240eth30966phi40252uuml",                 // 61
    "",                                                                   // 62
    "",                                                                   // 63
    "",                                                                   // 64
    "40376yuml40255yuml",                                                 // 65
    "",                                                                   // 66
    "40034quot48204zwnj",                                                 // 67
    "38746cup68756there4",                                                // 68
    "30929rho30961rho38764sim",                                           // 69
    "30932tau38834sub30964tau",                                           // 70
    "38747int38206lrm38207rlm",                                           // 71
    "30936psi30968psi30165yen",                                           // 72
    "",                                                                   // 73
    "28805ge30168uml",                                                    // 74
    "30982piv",                                                           // 75
    "",                                                                   // 76
    "30172not",                                                           // 77
    "",                                                                   // 78
    "28804le",                                                            // 79
    "30173shy",                                                           // 80
    "39674loz28800ne38721sum",                                            // 81
    "",                                                                   // 82
    "",                                                                   // 83
    "38835sup",                                                           // 84
    "28715ni",                                                            // 85
    "",                                                                   // 86
    "20928pi20960pi38205zwj",                                             // 87
    "",                                                                   // 88
    "60923lambda20062gt60955lambda",                                      // 89
    "",                                                                   // 90
    "",                                                                   // 91
    "60199ccedil60231ccedil",                                             // 92
    "",                                                                   // 93
    "20060lt",                                                            // 94
    "20926xi28744or20958xi",                                              // 95
    "20924mu20956mu",                                                     // 96
    "20925nu20957nu",                                                     // 97
    "68225dagger68224dagger",                                             // 98
    "80977thetasym",                                                      // 99
    "",                                                                   // 100
    "",                                                                   // 101
    "",                                                                   // 102
    "78501alefsym",                                                       // 103
    "",                                                                   // 104
    "",                                                                   // 105
    "",                                                                   // 106
    "60193aacute60195atilde60225aacute60227atilde",                       // 107
    "",                                                                   // 108
    "70927omicron60247divide70959omicron",                                // 109
    "60192agrave60224agrave",                                             // 110
    "60201eacute60233eacute60962sigmaf",                                  // 111
    "70917epsilon70949epsilon",                                           // 112
    "",                                                                   // 113
    "60200egrave60232egrave",                                             // 114
    "60205iacute60237iacute",                                             // 115
    "",                                                                   // 116
    "",                                                                   // 117
    "60204igrave68230hellip60236igrave",                                  // 118
    "60166brvbar",                                                        // 119
    "60209ntilde68704forall58711nabla60241ntilde69824spades",             // 120
    "60211oacute60213otilde60189frac1260183middot60243oacute60245otilde", // 121
    "",                                                                   // 122
    "50184cedil60188frac14",                                              // 123
    "50198aelig50194acirc60210ograve50226acirc50230aelig60242ograve",     // 124
    "50915gamma60190frac3450947gamma58465image58730radic",                // 125
    "60352scaron60353scaron",                                             // 126
    "60218uacute69829hearts60250uacute",                                  // 127
    "50913alpha50202ecirc70933upsilon50945alpha50234ecirc70965upsilon",   // 128
    "68240permil",                                                        // 129
};

} // namespace

std::string_view NamedReferenceBucket(std::size_t bucket) {
  return bucket < kNamedReferenceBuckets ? kBuckets[bucket] : std::string_view{};
}

std::size_t NamedReferenceKey(std::string_view lowerName) {
  std::size_t sum = 0;
  for (char ch : lowerName) {
    sum += static_cast<unsigned char>(ch);
  }
  return sum % kNamedReferenceBuckets;
}

std::uint32_t LookupNamedReference(std::string_view lowerName, bool capitalForm) {
  if (lowerName.empty()) {
    return 0;
  }
  const std::string_view bucket = kBuckets[NamedReferenceKey(lowerName)];
  std::uint32_t found = 0;
  std::size_t at = 0;
  while (at + 5 <= bucket.size()) {
    const std::size_t length = static_cast<std::size_t>(bucket[at] - '0');
    std::uint32_t codePoint = 0;
    for (std::size_t i = 1; i <= 4; ++i) {
      codePoint = codePoint * 10 + static_cast<std::uint32_t>(bucket[at + i] - '0');
    }
    const std::string_view name = bucket.substr(at + 5, length);
    at += 5 + length;
    if (name != lowerName) {
      continue;
    }
    if (found == 0) {
      found = codePoint;
      if (capitalForm) {
        break;
      }
    } else {
      found = codePoint; // the small form of a pair
      break;
    }
  }
  return found;
}

} // namespace corvesta
