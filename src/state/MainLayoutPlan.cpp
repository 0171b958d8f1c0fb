#include "state/MainLayoutPlan.h"

#include <algorithm>

namespace tarl {

MainLayoutRects PlanMainLayout(const MainLayoutInput& in) {
    const double w = in.clientWidth;
    const double h = in.clientHeight;
    const double splitter = in.splitterLeft;
    MainLayoutRects out;

    double treeHeight = in.currentTreeHeight;
    if (h > 1570) {
        if (in.statusBarVisible) {
            out.statusBar = TwipsRect{0, h - in.statusBarHeight, w, in.statusBarHeight};
            treeHeight = h - in.statusBarHeight - MainToolbarHeight;
        } else {
            treeHeight = h - 1200;
        }
    }
    treeHeight = std::max(0.0, treeHeight);
    const double treeWidth = std::max(splitter, 0.0);
    out.tree = {0, MainTreeTop, treeWidth, treeHeight};
    const double listWidth = w - splitter > 200 ? w - splitter - 200 : in.currentListWidth;
    out.list = {splitter + MainSplitterWidth, MainTreeTop, listWidth, treeHeight};
    out.splitter = {splitter, MainTreeTop, MainSplitterWidth, treeHeight};
    out.toolbar = {0, 0, treeWidth + 40, MainToolbarHeight};
    const double panelWidth = w > splitter ? w - splitter : in.currentPanelWidth;
    out.panel = {splitter + 40, 0, panelWidth, MainToolbarHeight};
    return out;
}

double DraggedSplitterLeft(double splitterLeft, double dragTwips, double clientWidth) {
    const double next = splitterLeft + dragTwips - MainSplitterWidth / 2;
    return std::clamp(next, 300.0, std::max(300.0, clientWidth - 600));
}

CompactHeights UnfoldedCompactHeights(int trackCount) {
    const int rows = std::clamp(trackCount, 0, CompactMaxRows);
    const double window = rows * CompactRowHeight + 2230;
    return {window, window - 1150};
}

double CompactWidth(double displayWidth) {
    return std::max(CompactMinWidth, displayWidth + 800);
}

} // namespace tarl
