#include "win32/ui/details_layout.h"

#include <algorithm>

namespace {

// The heights and gaps of the layout, in pixels of its font.
struct Rows {
    explicit Rows(const ambersel::win32::FontMeasures& font)
        : marginX(font.x(7)),
          marginY(font.y(7)),
          gapX(font.x(4)),
          line(std::max(font.y(8), font.height)),
          caption(std::max(font.y(8), font.height)),
          button(font.y(14)),
          buttonWidth(font.x(60)),
          aroundPicture(font.y(4)),
          underCaption(font.y(2)),
          aboveButtons(font.y(6)) {}

    // Everything but the picture, from top to bottom.
    int heightBesidesPicture(int tables) const {
        return marginY + line + 2 * aroundPicture + caption + underCaption + tables + aboveButtons +
               button + marginY;
    }

    int marginX, marginY, gapX, line, caption, button, buttonWidth, aroundPicture, underCaption,
        aboveButtons;
};

RECT box(int left, int top, int width, int height) {
    return {left, top, left + std::max(width, 0), top + std::max(height, 0)};
}

int tablesHeight(const DetailsMeasures& measures) {
    return static_cast<int>(std::max(measures.bands.cy, measures.contributors.cy));
}

}  // namespace

DetailsPlaces placeDetails(SIZE client, const DetailsMeasures& measures) {
    const Rows rows(measures.font);
    DetailsPlaces places;
    const int width = client.cx - 2 * rows.marginX;
    places.line = box(rows.marginX, rows.marginY, width, rows.line);

    const int buttonsTop = client.cy - rows.marginY - rows.button;
    places.saveReport = box(rows.marginX, buttonsTop, rows.buttonWidth, rows.button);
    places.close =
        box(client.cx - rows.marginX - rows.buttonWidth, buttonsTop, rows.buttonWidth, rows.button);

    // The tables share the width in proportion to what they need.
    const int tables = tablesHeight(measures);
    const int tablesTop = buttonsTop - rows.aboveButtons - tables;
    const auto needed = std::max<long long>(measures.bands.cx + measures.contributors.cx, 1);
    const int room = width - rows.gapX;
    const auto bandsWidth =
        static_cast<int>(static_cast<long long>(room) * measures.bands.cx / needed);
    places.bands = box(rows.marginX, tablesTop, bandsWidth, tables);
    places.contributors = box(places.bands.right + rows.gapX, tablesTop, room - bandsWidth, tables);
    const int captionTop = tablesTop - rows.underCaption - rows.caption;
    places.bandsCaption = box(places.bands.left, captionTop, bandsWidth, rows.caption);
    places.contributorsCaption =
        box(places.contributors.left, captionTop, room - bandsWidth, rows.caption);

    const int pictureTop = places.line.bottom + rows.aroundPicture;
    places.picture =
        box(rows.marginX, pictureTop, width, captionTop - rows.aroundPicture - pictureTop);
    return places;
}

SIZE smallestDetailsClient(const DetailsMeasures& measures) {
    const Rows rows(measures.font);
    const LONG tablesWidth = measures.bands.cx + rows.gapX + measures.contributors.cx;
    return {2 * rows.marginX + std::max(tablesWidth, measures.smallestPicture.cx),
            rows.heightBesidesPicture(tablesHeight(measures)) + measures.smallestPicture.cy};
}

SIZE preferredDetailsClient(const DetailsMeasures& measures) {
    const Rows rows(measures.font);
    const SIZE smallest = smallestDetailsClient(measures);
    const LONG width =
        std::max<LONG>(smallest.cx, 2 * rows.marginX + measures.smallestPicture.cx * 5 / 4);
    // About the proportions of a picture file, 1200 by 730.
    const LONG picture =
        std::max<LONG>(measures.smallestPicture.cy, (width - 2 * rows.marginX) * 3 / 5);
    return {width, rows.heightBesidesPicture(tablesHeight(measures)) + picture};
}
