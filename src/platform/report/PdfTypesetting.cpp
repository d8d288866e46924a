#include "platform/report/PdfTypesetting.h"

#include <algorithm>

namespace report::pdf {

namespace {

// Installed Kannada families, in the order a missing font falls back to them.
const char* const kKannadaFamilies[] = {"Noto Sans Kannada", "Lohit Kannada", "Gubbi",
                                        "Noto Serif Kannada"};
// Names fontconfig always resolves to an installed family.
const char* const kGenericFamilies[] = {"sans", "sans-serif", "serif",   "monospace",
                                        "mono", "system-ui",  "cursive", "fantasy"};

} // namespace

PangoAlignment pangoAlignment(ReportColumn::Align align)
{
    switch (align) {
    case ReportColumn::Align::Centre: return PANGO_ALIGN_CENTER;
    case ReportColumn::Align::Right: return PANGO_ALIGN_RIGHT;
    case ReportColumn::Align::Left: break;
    }
    return PANGO_ALIGN_LEFT;
}

Typesetter::Typesetter(cairo_t* cr) : m_context(pango_cairo_create_context(cr))
{
    pango_cairo_context_set_resolution(m_context.get(), 72);
    // Glyphs stay where the font puts them: rounded to whole points, a subjoined letter
    // drifts off its base and text extraction splits the word there.
    pango_context_set_round_glyph_positions(m_context.get(), FALSE);
    cairo_font_options_t* options = cairo_font_options_create();
    // Unhinted metrics: the same widths on paper and on screen at every zoom.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(m_context.get(), options);
    cairo_font_options_destroy(options);
}

Layout Typesetter::layout(const QString& text, const PangoFontDescription* font, double width,
                          PangoAlignment align) const
{
    Layout l(pango_layout_new(m_context.get()));
    pango_layout_set_font_description(l.get(), font);
    pango_layout_set_width(l.get(), pango_units_from_double(std::max(width, 1.0)));
    pango_layout_set_wrap(l.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(l.get(), align);
    const QByteArray utf8 = text.toUtf8();
    pango_layout_set_text(l.get(), utf8.constData(), int(utf8.size()));
    return l;
}

FontChooser::FontChooser(PangoContext* context)
{
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(pango_context_get_font_map(context), &families, &count);
    for (int i = 0; i < count; ++i)
        m_installed.insert(
            QString::fromUtf8(pango_font_family_get_name(families[i])).toCaseFolded());
    g_free(families);
    for (const char* generic : kGenericFamilies)
        m_installed.insert(QLatin1String(generic));
    for (const char* family : kKannadaFamilies) {
        if (m_installed.contains(QString::fromLatin1(family).toCaseFolded())) {
            m_fallback = QString::fromLatin1(family);
            break;
        }
    }
}

Font FontChooser::font(const QString& description)
{
    Font font(pango_font_description_from_string(description.toUtf8().constData()));
    const char* family = pango_font_description_get_family(font.get());
    if (!family)
        return font;
    const QStringList names = QString::fromUtf8(family).split(QLatin1Char(','));
    for (const QString& name : names) {
        if (m_installed.contains(name.trimmed().toCaseFolded()))
            return font;
    }
    const QString missing = names.first().trimmed();
    if (!m_missing.contains(missing))
        m_missing << missing;
    if (!m_fallback.isEmpty())
        pango_font_description_set_family(font.get(), m_fallback.toUtf8().constData());
    return font;
}

QStringList FontChooser::notes() const
{
    if (m_missing.isEmpty())
        return {};
    const QString fonts = m_missing.join(QStringLiteral(", "));
    if (m_fallback.isEmpty())
        return {QStringLiteral(u"ವರದಿಯ ನಮೂನೆ ಹೇಳುವ ಅಕ್ಷರಶೈಲಿ %1 ಈ ಗಣಕದಲ್ಲಿ ಇಲ್ಲ, ಯಾವ ಕನ್ನಡ "
                               u"ಅಕ್ಷರಶೈಲಿಯೂ ಇಲ್ಲ: ಕನ್ನಡ ಅಕ್ಷರಗಳು ಸರಿಯಾಗಿ ಕಾಣದಿರಬಹುದು.")
                    .arg(fonts)};
    return {QStringLiteral(u"ವರದಿಯ ನಮೂನೆ ಹೇಳುವ ಅಕ್ಷರಶೈಲಿ %1 ಈ ಗಣಕದಲ್ಲಿ ಇಲ್ಲ; ಅದರ ಬದಲು %2 "
                           u"ಬಳಸಲಾಗಿದೆ.")
                .arg(fonts, m_fallback)};
}

} // namespace report::pdf
