// The browser's storage, where the page keeps its settings and the clear file. Where the page
// may not use it (a sandboxed frame, storage blocked or full) the page goes on with the
// defaults and keeps nothing, and says so once on the console, not at every access.
"use strict";
const PageStorage = (() => {
  let told = false;
  function closed(e) {
    if (told) return;
    told = true;
    console.warn("sevenchips: the browser's storage is closed to this page, so nothing is kept (" + e + ")");
  }
  return {
    get(key) {
      try { return localStorage.getItem(key); } catch (e) { closed(e); return null; }
    },
    set(key, value) {
      try { localStorage.setItem(key, value); } catch (e) { closed(e); }
    },
  };
})();
