#include "cli/stream_interface.h"

#include <algorithm>
#include <ostream>

namespace vimbrel::cli {

StreamInterface::StreamInterface(std::ostream& err, bool showProgress)
    : mErr(err), mShowProgress(showProgress)
{
}

void StreamInterface::showMessage(const std::string& text)
{
    writeLines(text);
    mMessageShown = true;
}

void StreamInterface::showNote(const std::string& text)
{
    writeLines(text);
}

void StreamInterface::writeLines(const std::string& text)
{
    if (mProgressShown) {
        mErr << '\n';
        mProgressShown = false;
    }
    std::string lines = text;
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    mErr << lines << '\n';
}

void StreamInterface::showFileCount(int) {}

void StreamInterface::openViewer(const ViewerPages& pages, bool maximised)
{
    mViewer = pages;
    mMaximised = maximised;
}

void StreamInterface::setRenameTabEnabled(bool) {}

bool StreamInterface::reportProgress(int done, int total)
{
    if (!mShowProgress) {
        return true;
    }
    // One line rewritten in place, ended once the last step is reported.
    mErr << "\r小画像 " << done << "/" << total << std::flush;
    mProgressShown = done < total;
    if (!mProgressShown) {
        mErr << '\n';
    }
    return true;
}

} // namespace vimbrel::cli
