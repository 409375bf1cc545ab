#pragma once

// Adds the site's wildcard pattern to the pop-up blocker's existing allow
// list. A missing Allow key is never created; failures are silent.
void AllowDomainPopups();
