#pragma once

// Gives the kit's own widgets what a screen reader needs to know about them: a link is a link
// with a press action, a live region a notification. Installed once per process by the first of
// those widgets; later calls do nothing.
void InstallKitAccessibility();
