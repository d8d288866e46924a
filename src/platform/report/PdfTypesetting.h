#pragma once

#include <memory>

#include <pango/pangocairo.h>

#include <QSet>
#include <QString>
#include <QStringList>

#include "platform/report/ReportTemplate.h"

// Text for the report's PDF: Pango layouts measured in PDF points, and the template's fonts as
// installed families.
namespace report::pdf {

struct GObjectUnref {
    void operator()(gpointer p) const { g_object_unref(p); }
};
struct FontFree {
    void operator()(PangoFontDescription* f) const { pango_font_description_free(f); }
};
using Layout = std::unique_ptr<PangoLayout, GObjectUnref>;
using Font = std::unique_ptr<PangoFontDescription, FontFree>;

inline double points(int pangoUnits)
{
    return pango_units_to_double(pangoUnits);
}

PangoAlignment pangoAlignment(ReportColumn::Align align);

// Makes text layouts whose sizes are in PDF points.
class Typesetter {
public:
    explicit Typesetter(cairo_t* cr);

    PangoContext* context() const { return m_context.get(); }

    Layout layout(const QString& text, const PangoFontDescription* font, double width,
                  PangoAlignment align) const;

    static double height(PangoLayout* l)
    {
        int width = 0, height = 0;
        pango_layout_get_size(l, &width, &height);
        return points(height);
    }

private:
    std::unique_ptr<PangoContext, GObjectUnref> m_context;
};

// The template's fonts as Pango descriptions. A family that is not installed is replaced by an
// installed Kannada family (never boxes or an empty page), and the run says so once.
class FontChooser {
public:
    explicit FontChooser(PangoContext* context);

    Font font(const QString& description);
    QStringList notes() const;

private:
    QSet<QString> m_installed;
    QString m_fallback;
    QStringList m_missing;
};

} // namespace report::pdf
