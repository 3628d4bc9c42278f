// Quillpane's phone page: reads the memo the PC exports to OneDrive and drops
// new notes into the inbox the PC merges. Everything runs in the browser;
// OneDrive is reached through Microsoft Graph with the user's own sign-in.
import { PublicClientApplication, InteractionRequiredAuthError } from "@azure/msal-browser";
import { splitMemos } from "./memos.js";
import { t, lang } from "./i18n.js";

const config = {
  clientId: "",
  authority: "https://login.microsoftonline.com/consumers",
  graphBase: "https://graph.microsoft.com/v1.0",
  testToken: null,
  ...(window.QUILLPANE_CONFIG || {}),
};
const graphBase = String(config.graphBase).replace(/\/+$/, "");
const SCOPES = ["User.Read", "Files.ReadWrite"];
const DRAFT_KEY = "quillpane.draft";
const COPY_CACHE = "quillpane-last-copy";
const COPY_URL = "./last-copy.json";
// The PC leaves larger inbox files where they are.
const MAX_NOTE_BYTES = 2 * 1024 * 1024;
const DEFAULT_SECTION = { role: "Separator", separator: "------------------------------", heading: "##" };

const $ = (id) => document.getElementById(id);

class AuthNeeded extends Error {}
class HttpError extends Error {
  constructor(response) {
    super(`${response.status}${response.statusText ? " " + response.statusText : ""}`);
    this.status = response.status;
  }
}

function isNetworkError(error) {
  if (typeof navigator !== "undefined" && navigator.onLine === false) return true;
  if (error instanceof TypeError) return true;
  const code = String((error && error.errorCode) || "");
  return /network|no_network|timed_out/i.test(code);
}

// Sign-in. With testToken set (the page's tests only) MSAL is not loaded at all.
const auth = {
  msal: null,
  account: null,

  get signedIn() {
    return Boolean(config.testToken) || Boolean(this.account);
  },

  redirectUri() {
    return location.origin + location.pathname.replace(/index\.html$/, "");
  },

  async init() {
    if (config.testToken) return;
    if (!/^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$/i.test(config.clientId)) {
      throw new Error(t.needClientId);
    }
    this.msal = new PublicClientApplication({
      auth: {
        clientId: config.clientId,
        authority: config.authority,
        redirectUri: this.redirectUri(),
        postLogoutRedirectUri: this.redirectUri(),
      },
      // A home-screen app is opened many times a day: stay signed in.
      cache: { cacheLocation: "localStorage" },
    });
    await this.msal.initialize();
    const result = await this.msal.handleRedirectPromise();
    this.account = (result && result.account) || this.msal.getAllAccounts()[0] || null;
    if (this.account) this.msal.setActiveAccount(this.account);
  },

  async token(forceRefresh = false) {
    if (config.testToken) return config.testToken;
    if (!this.account) throw new AuthNeeded();
    try {
      const result = await this.msal.acquireTokenSilent({ scopes: SCOPES, account: this.account, forceRefresh });
      return result.accessToken;
    } catch (error) {
      if (error instanceof InteractionRequiredAuthError) throw new AuthNeeded();
      throw error;
    }
  },

  signIn() {
    // The draft is already in localStorage, so leaving the page loses nothing.
    return this.msal.loginRedirect({ scopes: SCOPES, redirectUri: this.redirectUri() });
  },

  signOut() {
    return this.msal.logoutRedirect({ account: this.account });
  },
};

// One Graph request; a 401 gets one more try with a fresh token.
async function graph(method, path, init = {}) {
  const url = `${graphBase}/me/drive/root:/${path.split("/").map(encodeURIComponent).join("/")}:/content`;
  let response;
  for (let attempt = 0; attempt < 2; attempt++) {
    const token = await auth.token(attempt > 0);
    response = await fetch(url, {
      method,
      cache: "no-store",
      ...init,
      headers: { ...(init.headers || {}), Authorization: `Bearer ${token}` },
    });
    if (response.status !== 401 || config.testToken) break;
  }
  return response;
}

async function responseText(response) {
  // TextDecoder drops the byte-order mark the PC writes.
  return new TextDecoder("utf-8").decode(await response.arrayBuffer()).replace(/^\uFEFF/, "");
}

// The last copy read, so that the memo can be read offline.
async function saveCopy(copy) {
  try {
    const cache = await caches.open(COPY_CACHE);
    await cache.put(COPY_URL, new Response(JSON.stringify(copy), { headers: { "Content-Type": "application/json" } }));
  } catch {
    // No Cache Storage (private mode and the like): only offline reading is lost.
  }
}

async function loadCopy() {
  try {
    const cache = await caches.open(COPY_CACHE);
    const response = await cache.match(COPY_URL);
    return response ? await response.json() : null;
  } catch {
    return null;
  }
}

async function forgetCopy() {
  try {
    await caches.delete(COPY_CACHE);
  } catch {
    // Nothing was kept.
  }
}

// --- The memo list ---------------------------------------------------------

let memos = [];

function escapeRegExp(text) {
  return text.replace(/[.*+?^${}()|[\]\\]/g, "\\$&");
}

// Text with each match of pattern wrapped in <mark>, as DOM nodes (never HTML).
function fillHighlighted(element, text, pattern) {
  element.textContent = "";
  if (!pattern) {
    element.textContent = text;
    return;
  }
  let last = 0;
  for (const match of text.matchAll(pattern)) {
    if (match.index > last) element.append(text.slice(last, match.index));
    const mark = document.createElement("mark");
    mark.textContent = match[0];
    element.append(mark);
    last = match.index + match[0].length;
  }
  if (last < text.length) element.append(text.slice(last));
}

function renderMemos() {
  const list = $("memos");
  const query = $("search").value.trim();
  const pattern = query ? new RegExp(escapeRegExp(query), "giu") : null;
  const test = query ? new RegExp(escapeRegExp(query), "iu") : null;
  list.textContent = "";
  let shown = 0;
  for (const memo of memos) {
    if (test && !test.test(`${memo.title}\n${memo.subtitle}\n${memo.body}`)) continue;
    shown++;
    const card = document.createElement("article");
    card.className = "memo";
    const title = document.createElement("h2");
    title.className = "memo-title";
    fillHighlighted(title, memo.title, pattern);
    card.append(title);
    if (memo.body) {
      const body = document.createElement("div");
      body.className = "memo-body";
      fillHighlighted(body, memo.body, pattern);
      card.append(body);
    }
    list.append(card);
  }
  $("count").textContent = memos.length === 0 ? t.noMemos : shown === 0 ? t.noMatches : t.memoCount(shown, memos.length);
}

function showMemo(copy) {
  memos = splitMemos(copy.text, copy.section || DEFAULT_SECTION);
  renderMemos();
}

function setBanner(text, kind = "info") {
  const banner = $("banner");
  banner.textContent = text || "";
  banner.hidden = !text;
  banner.dataset.kind = kind;
}

function formatTime(iso) {
  try {
    return new Date(iso).toLocaleString(lang === "ja" ? "ja-JP" : undefined, {
      dateStyle: "medium",
      timeStyle: "short",
    });
  } catch {
    return iso;
  }
}

function updateSignedInUi() {
  $("signin-panel").hidden = auth.signedIn;
  $("signout").hidden = !auth.account;
}

let loading = false;
let lastLoad = 0;

async function loadMemo() {
  if (loading) return;
  loading = true;
  lastLoad = Date.now();
  $("refresh").disabled = true;
  if (memos.length === 0) $("count").textContent = t.loading;
  try {
    const [textResponse, sectionResponse] = await Promise.all([
      graph("GET", "Quillpn/notes/current.txt"),
      graph("GET", "Quillpn/notes/section.json"),
    ]);
    if (textResponse.status === 404) {
      memos = [];
      renderMemos();
      setBanner(t.noExport);
      return;
    }
    if (!textResponse.ok) throw new HttpError(textResponse);
    const text = await responseText(textResponse);
    let section = DEFAULT_SECTION;
    if (sectionResponse.ok) {
      try {
        section = { ...DEFAULT_SECTION, ...JSON.parse(await responseText(sectionResponse)) };
      } catch {
        // An unreadable section.json: divide by the default divider.
      }
    }
    const copy = { text, section, fetchedAt: new Date().toISOString() };
    showMemo(copy);
    setBanner("");
    await saveCopy(copy);
  } catch (error) {
    if (error instanceof AuthNeeded) {
      auth.account = null;
      updateSignedInUi();
    }
    const copy = await loadCopy();
    if (copy) showMemo(copy);
    else if (memos.length === 0) $("count").textContent = "";
    if (isNetworkError(error)) {
      setBanner(copy ? t.offline(formatTime(copy.fetchedAt)) : t.offlineNoCopy, "warn");
    } else if (error instanceof AuthNeeded) {
      setBanner(copy ? t.lastCopy(formatTime(copy.fetchedAt)) : "", "warn");
    } else {
      const detail = t.readFailed(error.message || String(error));
      setBanner(copy ? `${detail} — ${t.lastCopy(formatTime(copy.fetchedAt))}` : detail, "error");
    }
  } finally {
    loading = false;
    $("refresh").disabled = false;
  }
}

// --- Sending ---------------------------------------------------------------

function pad(n, width = 2) {
  return String(n).padStart(width, "0");
}

// yyyymmddThhmmssZ_<random>.txt: the PC takes the UTC time from the name and
// merges in name order.
export function inboxFileName(now = new Date()) {
  const stamp =
    `${pad(now.getUTCFullYear(), 4)}${pad(now.getUTCMonth() + 1)}${pad(now.getUTCDate())}` +
    `T${pad(now.getUTCHours())}${pad(now.getUTCMinutes())}${pad(now.getUTCSeconds())}Z`;
  const random = Array.from(crypto.getRandomValues(new Uint8Array(4)), (b) => b.toString(16).padStart(2, "0")).join("");
  return `${stamp}_${random}.txt`;
}

function setSendStatus(text, kind) {
  const status = $("send-status");
  status.textContent = text;
  status.dataset.kind = kind || "";
}

async function send() {
  const box = $("note");
  const text = box.value;
  if (text.trim() === "") {
    setSendStatus(t.notSentEmpty, "error");
    return;
  }
  if (new TextEncoder().encode(text).length > MAX_NOTE_BYTES) {
    setSendStatus(t.notSentTooLong, "error");
    return;
  }
  $("send").disabled = true;
  box.readOnly = true;
  setSendStatus(t.sending, "");
  try {
    const response = await graph("PUT", `Quillpn/inbox/${inboxFileName()}`, {
      headers: { "Content-Type": "text/plain; charset=utf-8" },
      body: new TextEncoder().encode(text),
    });
    if (response.status === 401) throw new AuthNeeded();
    if (!response.ok) throw new HttpError(response);
    box.value = "";
    localStorage.removeItem(DRAFT_KEY);
    setSendStatus(t.sent, "ok");
  } catch (error) {
    if (error instanceof AuthNeeded) {
      const wasSignedIn = auth.signedIn;
      if (!config.testToken) {
        auth.account = null;
        updateSignedInUi();
      }
      setSendStatus(wasSignedIn ? t.notSentAuth : t.notSentSignIn, "error");
    } else if (isNetworkError(error)) {
      setSendStatus(t.notSentOffline, "error");
    } else if (error instanceof HttpError) {
      setSendStatus(t.notSentHttp(error.message), "error");
    } else {
      setSendStatus(t.notSentHttp(error.message || String(error)), "error");
    }
  } finally {
    box.readOnly = false;
    $("send").disabled = false;
  }
}

// --- Start -------------------------------------------------------------------

function applyTexts() {
  document.documentElement.lang = lang;
  for (const element of document.querySelectorAll("[data-t]")) element.textContent = t[element.dataset.t];
  for (const element of document.querySelectorAll("[data-t-placeholder]")) {
    element.placeholder = t[element.dataset.tPlaceholder];
  }
  for (const element of document.querySelectorAll("[data-t-label]")) {
    element.setAttribute("aria-label", t[element.dataset.tLabel]);
    element.title = t[element.dataset.tLabel];
  }
}

async function start() {
  applyTexts();
  const box = $("note");
  box.value = localStorage.getItem(DRAFT_KEY) || "";
  box.addEventListener("input", () => {
    if (box.value) localStorage.setItem(DRAFT_KEY, box.value);
    else localStorage.removeItem(DRAFT_KEY);
  });
  $("send").addEventListener("click", send);
  $("search").addEventListener("input", renderMemos);
  $("refresh").addEventListener("click", loadMemo);
  $("signin").addEventListener("click", () => auth.signIn().catch((e) => setBanner(t.signInFailed(e.message), "error")));
  $("signout").addEventListener("click", async () => {
    if (!confirm(t.signOutConfirm)) return;
    await forgetCopy();
    await auth.signOut();
  });
  document.addEventListener("visibilitychange", () => {
    // Back from another app: the PC may have changed the memo meanwhile.
    if (document.visibilityState === "visible" && auth.signedIn && Date.now() - lastLoad > 30000) loadMemo();
  });

  if ("serviceWorker" in navigator && window.isSecureContext) {
    navigator.serviceWorker.register("./sw.js").catch(() => {});
  }

  try {
    await auth.init();
  } catch (error) {
    setBanner(error.message || String(error), "error");
    $("signin").disabled = true;
    $("signin-panel").hidden = false;
    const copy = await loadCopy();
    if (copy) showMemo(copy);
    document.body.dataset.ready = "1";
    return;
  }
  updateSignedInUi();
  if (auth.signedIn) {
    await loadMemo();
  } else {
    const copy = await loadCopy();
    if (copy) {
      showMemo(copy);
      setBanner(t.lastCopy(formatTime(copy.fetchedAt)), "warn");
    }
  }
  document.body.dataset.ready = "1";
}

start();
