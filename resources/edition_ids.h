/* The string id every program's table shares: the code page its texts
 * reach the ANSI API in (framework/edition_texts). */
#ifndef KV_RESOURCES_EDITION_IDS_H
#define KV_RESOURCES_EDITION_IDS_H

#define IDS_CODEPAGE 1

#endif
