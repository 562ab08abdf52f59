#pragma once

class CXmlTextReader;

// Moves the reader from the start tag of the element it stands on to that element's end tag,
// past everything inside (nothing for an empty element). Stops at the end of the text when the
// end tag is missing.
void skipElement(CXmlTextReader& reader);
