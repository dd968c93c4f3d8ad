#include "SharedIcons.h"

#include <QApplication>
#include <QIcon>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>
#include <map>
#include <utility>

namespace vermeo {

namespace {

class SharedIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap sp, const QStyleOption *option, const QWidget *widget) const override
    {
        // An option may ask for a state or a size of its own: those are made each time.
        if (option)
            return QProxyStyle::standardIcon(sp, option, widget);
        // Arrows face the other way in a right-to-left layout.
        const bool rightToLeft =
            widget ? widget->layoutDirection() == Qt::RightToLeft : QGuiApplication::isRightToLeft();
        const auto key = std::make_pair(int(sp), rightToLeft);
        auto it = m_icons.find(key);
        if (it == m_icons.end())
            it = m_icons.emplace(key, QProxyStyle::standardIcon(sp, nullptr, widget)).first;
        return it->second;
    }

private:
    mutable std::map<std::pair<int, bool>, QIcon> m_icons;
};

} // namespace

void shareStandardIcons()
{
    if (!dynamic_cast<SharedIconStyle *>(QApplication::style()))
        QApplication::setStyle(new SharedIconStyle(QStyleFactory::create(QApplication::style()->name())));
}

} // namespace vermeo
