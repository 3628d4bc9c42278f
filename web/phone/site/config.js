// Settings of this copy of the Quillpane phone page.
window.QUILLPANE_CONFIG = {
  // The Application (client) ID of your app registration (see README.md).
  clientId: "PASTE-YOUR-APPLICATION-CLIENT-ID-HERE",
  // consumers: personal Microsoft accounts. Use "common" when the
  // registration also accepts work and school accounts.
  authority: "https://login.microsoftonline.com/consumers",
  graphBase: "https://graph.microsoft.com/v1.0",
  // Only the page's tests set this (a fixed token instead of sign-in).
  testToken: null,
};
