#include "Views/Kit/SymbolArtwork.h"

#include <QHash>

namespace {

// Shapes only; the frame and the default paint are added by svg().
const QHash<QString, QByteArray> shapes{
    {QStringLiteral("sparkles"),
     R"(<path d="M10 2l2 6 6 2-6 2-2 6-2-6-6-2 6-2z"/><path d="M18 13l1 3 3 1-3 1-1 3-1-3-3-1 3-1z"/><path d="M18 1l.8 2.2L21 4l-2.2.8L18 7l-.8-2.2L15 4l2.2-.8z"/>)"},
    {QStringLiteral("sparkles.rectangle.stack"),
     R"(<path fill="none" stroke="#000" stroke-width="1.6" stroke-linejoin="round" d="M6.5 5.5h12a1.5 1.5 0 011.5 1.5v9M4.5 2.5h12"/><rect x="2" y="8" width="16" height="13.5" rx="2"/><path fill="#fff" d="M10 10.5l1.2 3.3 3.3 1.2-3.3 1.2L10 19.5l-1.2-3.3L5.5 15l3.3-1.2z"/>)"},
    {QStringLiteral("hand.raised"),
     R"(<path fill="none" stroke="#000" stroke-width="1.7" stroke-linejoin="round" stroke-linecap="round" d="M7.5 12.5V5a1.5 1.5 0 013 0v6V3.5a1.5 1.5 0 013 0V11V4.5a1.5 1.5 0 013 0V12V7.5a1.5 1.5 0 013 0V15c0 4-3 7-7 7-3 0-4.5-1.5-6-4l-3-5a1.5 1.5 0 012.6-1.5z"/>)"},
    {QStringLiteral("hand.raised.fill"),
     R"(<path d="M7.5 12.5V5a1.5 1.5 0 013 0v6V3.5a1.5 1.5 0 013 0V11V4.5a1.5 1.5 0 013 0V12V7.5a1.5 1.5 0 013 0V15c0 4-3 7-7 7-3 0-4.5-1.5-6-4l-3-5a1.5 1.5 0 012.6-1.5z"/><path fill="none" stroke="#fff" stroke-width=".9" stroke-linecap="round" d="M10.5 6v5M13.5 5v6M16.5 7v5"/>)"},
    {QStringLiteral("waveform"),
     R"(<g stroke="#000" stroke-width="2" stroke-linecap="round"><path d="M2 10.5v3M5.5 8v8M9 4v16M12.5 7v10M16 2.5v19M19.5 8.5v7M23 11v2"/></g>)"},
    {QStringLiteral("paintpalette"),
     R"(<path fill="none" stroke="#000" stroke-width="1.8" stroke-linejoin="round" d="M12 2.5C6.5 2.5 2 6.5 2 11.5s4 9.5 9.5 9.5c1.8 0 2.3-1.3 1.6-2.4-.8-1.3-.2-2.6 1.4-2.6h2.5c3 0 5-2 5-4.8 0-5-4.4-8.7-10-8.7z"/><circle cx="7" cy="12" r="1.6"/><circle cx="9" cy="7.5" r="1.6"/><circle cx="14" cy="6.5" r="1.6"/><circle cx="18" cy="10" r="1.6"/>)"},
    {QStringLiteral("paintpalette.fill"),
     R"(<path d="M12 2.5C6.5 2.5 2 6.5 2 11.5s4 9.5 9.5 9.5c1.8 0 2.3-1.3 1.6-2.4-.8-1.3-.2-2.6 1.4-2.6h2.5c3 0 5-2 5-4.8 0-5-4.4-8.7-10-8.7z"/><g fill="#fff"><circle cx="7" cy="12" r="1.7"/><circle cx="9" cy="7.5" r="1.7"/><circle cx="14" cy="6.5" r="1.7"/><circle cx="18" cy="10" r="1.7"/></g>)"},
    {QStringLiteral("tornado"),
     R"(<g fill="none" stroke="#000" stroke-width="2" stroke-linecap="round"><path d="M2 3.5h20"/><path d="M4 7.5h15"/><path d="M6.5 11.5h11"/><path d="M9 15.5h7"/><path d="M11 19.5h3.5"/></g>)"},
    {QStringLiteral("keyboard.badge.ellipsis"),
     R"(<path fill-rule="evenodd" d="M2 7h14v2H4v8h16v-3h2v5H2z"/><rect x="6" y="11" width="2" height="2"/><rect x="9.5" y="11" width="2" height="2"/><rect x="13" y="11" width="2" height="2"/><rect x="7" y="14.5" width="10" height="1.5"/><circle cx="19" cy="7" r="4.5"/><circle cx="17" cy="7" r=".9" fill="#fff"/><circle cx="19" cy="7" r=".9" fill="#fff"/><circle cx="21" cy="7" r=".9" fill="#fff"/>)"},
    {QStringLiteral("pawprint.fill"),
     R"(<ellipse cx="12" cy="16.5" rx="5" ry="4.5"/><ellipse cx="5.5" cy="10.5" rx="2.2" ry="2.8"/><ellipse cx="18.5" cy="10.5" rx="2.2" ry="2.8"/><ellipse cx="9" cy="5.5" rx="2.2" ry="3"/><ellipse cx="15" cy="5.5" rx="2.2" ry="3"/>)"},
    {QStringLiteral("scope"),
     R"(<g fill="none" stroke="#000" stroke-width="2"><circle cx="12" cy="12" r="8"/><path d="M12 1v6M12 17v6M1 12h6M17 12h6"/></g><circle cx="12" cy="12" r="1.8"/>)"},
    {QStringLiteral("lasso"),
     R"(<g fill="none" stroke="#000" stroke-width="2" stroke-linecap="round"><ellipse cx="13" cy="8" rx="9" ry="5.5"/><path d="M8 12.5c-1 2.5-.5 4.5 1.5 5.5s2 3-1 4.5"/></g><circle cx="8.3" cy="12.6" r="1.6"/>)"},
    {QStringLiteral("triangle"),
     R"(<path fill="none" stroke="#000" stroke-width="2" stroke-linejoin="round" d="M12 3l10 17H2z"/>)"},
    {QStringLiteral("drop.fill"), R"(<path d="M12 2C9 7 5 11 5 15a7 7 0 0014 0c0-4-4-8-7-13z"/>)"},
    {QStringLiteral("burst.fill"),
     R"(<path d="M12 1l2.2 5.3 5.6-1.9-1.9 5.6L23 12l-5.1 2 1.9 5.6-5.6-1.9L12 23l-2.2-5.3-5.6 1.9 1.9-5.6L1 12l5.1-2-1.9-5.6 5.6 1.9z"/>)"},
    {QStringLiteral("flame.fill"),
     R"(<path d="M12 1c1 4 6 6.5 6 13a6 6 0 01-12 0c0-3 1.5-5 3-6 0 2 1 3.5 2.5 4C11 9 10 5 12 1z"/>)"},
    {QStringLiteral("dog.fill"),
     R"(<path d="M4 9l3-5 3 3h4l3-3 3 5-2 2v4a6 6 0 01-12 0v-4z"/><circle cx="9.5" cy="12" r="1" fill="#fff"/><circle cx="14.5" cy="12" r="1" fill="#fff"/><ellipse cx="12" cy="16" rx="1.8" ry="1.2" fill="#fff"/>)"},
    {QStringLiteral("typewriter"),
     R"(<rect x="6" y="2" width="12" height="7" rx="1"/><path d="M2 10h20v10H2z"/><g fill="#fff"><rect x="5" y="13" width="2" height="2"/><rect x="9" y="13" width="2" height="2"/><rect x="13" y="13" width="2" height="2"/><rect x="17" y="13" width="2" height="2"/><rect x="7" y="16.5" width="10" height="1.5"/></g>)"},
    {QStringLiteral("water.waves"),
     R"(<g fill="none" stroke="#000" stroke-width="2" stroke-linecap="round"><path d="M2 7c2.5-2 4.5-2 7 0s4.5 2 7 0 4.5-2 6 0"/><path d="M2 12c2.5-2 4.5-2 7 0s4.5 2 7 0 4.5-2 6 0"/><path d="M2 17c2.5-2 4.5-2 7 0s4.5 2 7 0 4.5-2 6 0"/></g>)"},
    {QStringLiteral("cursorarrow.click"),
     R"(<path d="M9 8l11 5-4.5 1.5 3.5 5-2 1.5-3.5-5L10 19z"/><g fill="none" stroke="#000" stroke-width="1.8" stroke-linecap="round"><path d="M7 2v3M2 7h3M3.5 3.5l2 2M11 3.5l-1.5 1.5"/></g>)"},
    {QStringLiteral("cursorarrow.click.2"),
     R"(<path d="M10 9l10 4.5-4 1.4 3.2 4.6-1.8 1.3-3.2-4.6L11 19z"/><g fill="none" stroke="#000" stroke-width="1.6" stroke-linecap="round"><path d="M7.5 9.5A3.5 3.5 0 1111 6M4.5 11A6.5 6.5 0 1113 4"/></g>)"},
    {QStringLiteral("cursorarrow.motionlines"),
     R"(<path d="M10 3l11 5-4.5 1.5 3.5 5-2 1.5-3.5-5L11 14z"/><g fill="none" stroke="#000" stroke-width="2" stroke-linecap="round"><path d="M2 12h5M4 16h6M2 20h6"/></g>)"},
    {QStringLiteral("moon.zzz.fill"),
     R"(<path d="M10 4a8 8 0 1010 11A9 9 0 0110 4z"/><path d="M14 2h5v1.4l-3 3.2h3V8h-5V6.6l3-3.2h-3z"/><path d="M19.5 9h3.5v1.2l-2 2.1h2v1.2h-3.5v-1.2l2-2.1h-2z"/>)"},
    {QStringLiteral("waveform.path.ecg"),
     R"(<path fill="none" stroke="#000" stroke-width="2" stroke-linejoin="round" stroke-linecap="round" d="M1 12h5l2-5 3 11 3-14 3 12 2-4h4"/>)"},
    {QStringLiteral("bolt.circle"),
     R"(<circle cx="12" cy="12" r="10" fill="none" stroke="#000" stroke-width="2"/><path d="M13 4l-6 9h4.5L10 20l6-9h-4.5z"/>)"},
    {QStringLiteral("bolt.circle.fill"),
     R"(<circle cx="12" cy="12" r="11"/><path fill="#fff" d="M13 4l-6 9h4.5L10 20l6-9h-4.5z"/>)"},
    {QStringLiteral("bolt.heart.fill"),
     R"(<path d="M12 21C5 16 1.5 12 1.5 7.5A5 5 0 0112 5a5 5 0 0110.5 2.5C22.5 12 19 16 12 21z"/><path fill="#fff" d="M13 7l-4 6h3l-1 5 4-6h-3z"/>)"},
    {QStringLiteral("brain.head.profile"),
     R"(<path d="M13 1a9 9 0 00-9 9l-2.5 4H4v4a2 2 0 002 2h3v3h9v-6a9 9 0 00-5-16z"/><path fill="none" stroke="#fff" stroke-width="1.5" stroke-linecap="round" d="M10 7c1-1.5 3-1.5 4 0M15 9c1.5 0 2.5 1.5 1.5 3M9 11c0 2 2 2.5 3 1.5"/>)"},
    {QStringLiteral("camera.macro"),
     R"(<path d="M12 22c0-5-2-7-6-8 0 4 2 8 6 8zM12 22c0-5 2-7 6-8 0 4-2 8-6 8z"/><path d="M12 2c-2 2-3 4-3 6a3 3 0 006 0c0-2-1-4-3-6z"/><path d="M11.2 13h1.6v9h-1.6z"/>)"},
    {QStringLiteral("chart.bar.fill"),
     R"(<rect x="3" y="12" width="4.5" height="9" rx="1"/><rect x="9.75" y="6" width="4.5" height="15" rx="1"/><rect x="16.5" y="3" width="4.5" height="18" rx="1"/>)"},
    {QStringLiteral("chart.bar.xaxis"),
     R"(<rect x="4" y="11" width="4" height="8" rx="1"/><rect x="10" y="5" width="4" height="14" rx="1"/><rect x="16" y="8" width="4" height="11" rx="1"/><rect x="2" y="20.5" width="20" height="1.8" rx=".9"/>)"},
    {QStringLiteral("circle"), R"(<circle cx="12" cy="12" r="9.5" fill="none" stroke="#000" stroke-width="2"/>)"},
    // A choice among several that may all be taken: a square, and the square checked.
    {QStringLiteral("square"),
     R"(<rect x="3" y="3" width="18" height="18" rx="4" fill="none" stroke="#000" stroke-width="2"/>)"},
    {QStringLiteral("checkmark.square.fill"),
     R"(<rect x="2" y="2" width="20" height="20" rx="5"/><path fill="none" stroke="#fff" stroke-width="2.4" )"
     R"(stroke-linecap="round" stroke-linejoin="round" d="M7 12.5l3.2 3.2L17 9"/>)"},
    {QStringLiteral("circle.dotted.circle"),
     R"(<circle cx="12" cy="12" r="10" fill="none" stroke="#000" stroke-width="2" stroke-dasharray="2 2.2"/><circle cx="12" cy="12" r="5" fill="none" stroke="#000" stroke-width="2"/>)"},
    {QStringLiteral("circle.hexagongrid"),
     R"(<circle cx="12" cy="12" r="10.5" fill="none" stroke="#000" stroke-width="1.8"/><g fill="none" stroke="#000" stroke-width="1.4"><circle cx="12" cy="7" r="2"/><circle cx="7.7" cy="9.5" r="2"/><circle cx="16.3" cy="9.5" r="2"/><circle cx="7.7" cy="14.5" r="2"/><circle cx="16.3" cy="14.5" r="2"/><circle cx="12" cy="17" r="2"/></g>)"},
    {QStringLiteral("circle.hexagongrid.fill"),
     R"(<circle cx="12" cy="12" r="11"/><g fill="#fff"><circle cx="12" cy="7" r="2"/><circle cx="7.7" cy="9.5" r="2"/><circle cx="16.3" cy="9.5" r="2"/><circle cx="7.7" cy="14.5" r="2"/><circle cx="16.3" cy="14.5" r="2"/><circle cx="12" cy="17" r="2"/><circle cx="12" cy="12" r="2"/></g>)"},
    {QStringLiteral("dot.radiowaves.left.and.right"),
     R"(<circle cx="12" cy="12" r="2.5"/><g fill="none" stroke="#000" stroke-width="2" stroke-linecap="round"><path d="M7.5 7.5a6.5 6.5 0 000 9M16.5 7.5a6.5 6.5 0 010 9M4.5 4.5a10.5 10.5 0 000 15M19.5 4.5a10.5 10.5 0 010 15"/></g>)"},
    {QStringLiteral("hand.tap.fill"),
     R"(<path d="M9 8.5a1.5 1.5 0 013 0V13l5 1a2.5 2.5 0 012 2.8L18 23H9.5L5.5 17a1.5 1.5 0 012.3-1.9L9 16.5z"/><g fill="none" stroke="#000" stroke-width="1.6" stroke-linecap="round"><path d="M6.5 7.5a4 4 0 118 0"/></g>)"},
    {QStringLiteral("laptopcomputer.trianglebadge.exclamationmark"),
     R"(<path fill-rule="evenodd" d="M3 5h13v2H5v9h9v2H3zM1 19h14v2H1z"/><path d="M19 9l4.5 8h-9z"/><path fill="#fff" d="M18.4 11.5h1.2v3h-1.2zM18.4 15.2h1.2v1.1h-1.2z"/>)"},
    {QStringLiteral("person.wave.2.fill"),
     R"(<circle cx="12" cy="6" r="3.5"/><path d="M5.5 21a6.5 6.5 0 0113 0z"/><g fill="none" stroke="#000" stroke-width="1.6" stroke-linecap="round"><path d="M4 3.5a5 5 0 000 6M1.5 2a8 8 0 000 9M20 3.5a5 5 0 010 6M22.5 2a8 8 0 010 9"/></g>)"},
    // The theme's empty star is drawn too faint to read as a control.
    {QStringLiteral("star"),
     R"(<path fill="none" stroke="#000" stroke-width="1.8" stroke-linejoin="round" d="M12 2.5l2.9 6 6.6.8-4.9 4.5 1.3 6.5L12 17l-5.9 3.3 1.3-6.5-4.9-4.5 6.6-.8z"/>)"},
    {QStringLiteral("wave.3.right.circle.fill"),
     R"(<circle cx="12" cy="12" r="11"/><g fill="none" stroke="#fff" stroke-width="1.7" stroke-linecap="round"><path d="M8 9.5a3.5 3.5 0 010 5M11 7a7 7 0 010 10M14 4.8a10 10 0 010 14.4"/></g>)"},
};

}

QByteArray SymbolArtwork::svg(const QString &symbol)
{
    const auto found = shapes.constFind(symbol);
    if (found == shapes.constEnd())
        return {};
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24" fill="#000">)" + *found
           + "</svg>";
}

QStringList SymbolArtwork::symbols()
{
    return shapes.keys();
}
