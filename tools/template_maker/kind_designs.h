#pragma once
// What each certificate kind prints and where the preview's overlay labels lie on its template.
//
// The overlay places are those the kind selector writes, in the main window's client coordinates.
// The preview label stands at window (-2, 0) with a one-pixel border, so its client area starts at
// window (-1, 1) and is 518 x 326; it fits and centres the 500 x 316 template without scaling, at
// client offset ((518 - 500) / 2, (326 - 316) / 2) = (9, 5). Template pixel (tx, ty) therefore lies
// at window (tx + 8, ty + 6).

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <vector>

namespace template_maker {

inline constexpr int kTemplateWidth = 500;
inline constexpr int kTemplateHeight = 316;
inline constexpr int kKindCount = 16;
inline constexpr QPoint kTemplateOriginInWindow{8, 6};

// The photo box, which is never moved, in window coordinates.
inline constexpr QRect kPhotoBoxInWindow{396, 38, 76, 93};

enum class ChromaSampling { Half, Full };

// Places of the six overlay labels, in window coordinates.
struct OverlayPlaces {
    QPoint name;         // 标签10, 56 x 14
    QPoint sex;          // 标签11, 26 x 12
    QPoint age;          // 标签12, 56 x 13
    QPoint second_name;  // 标签13, 37 x 14
    QPoint number;       // 透明标签2, 40 x 13
    QPoint issue_date;   // 透明标签1, 66 x 11
};

inline constexpr QSize kNameSize{56, 14};
inline constexpr QSize kSexSize{26, 12};
inline constexpr QSize kAgeSize{56, 13};
inline constexpr QSize kSecondNameSize{37, 14};
inline constexpr QSize kNumberSize{40, 13};
inline constexpr QSize kIssueDateSize{66, 11};

struct KindDesign {
    int number;             // 1..16, the kind selector's order
    const char* name;       // UTF-8
    QColor cover;           // the left page's colour
    const char* issuer;     // the joke issuing body, UTF-8
    const char* statement;  // what the certificate says after the name, UTF-8
    const char* validity;   // the validity line, UTF-8
    ChromaSampling sampling;
    OverlayPlaces places;
};

const std::array<KindDesign, kKindCount>& kind_designs();

// Where the overlay labels stand when the window opens. It opens on kind 1's template without
// moving any label, so that template must suit these places as well as its own.
OverlayPlaces initial_places();

// Every set of places the labels may take over this kind's template: its own first.
std::vector<OverlayPlaces> places_shown_over(const KindDesign& design);

// The leftmost any name, sex or age label ever stands: their printed captions end before it on
// every template, whichever kind placed the labels last.
inline constexpr int kLeftmostFieldLeftInWindow = 324;

// A rectangle given in window coordinates, moved onto the template.
QRect template_rect(QPoint window_place, QSize size);

}  // namespace template_maker
