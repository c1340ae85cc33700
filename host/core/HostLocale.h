#pragma once

// The language the whole client speaks: Brazilian Portuguese. Dates and
// numbers follow the Brazilian locale ("04/12/2026", "1.234.567,89"), and the
// toolkit's own texts (context menus, the calendar, standard buttons) come
// from Qt's Portuguese translation installed with the system's Qt.
namespace HostLocale {

// Sets the default locale and installs Qt's translation into the running
// application; call once, after the application object exists. Returns
// false when the translation is not installed: the client still works,
// with the toolkit's texts in English.
bool Install();

} // namespace HostLocale
