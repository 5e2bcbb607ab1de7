// Touch play: on a hand-held screen the page lays itself out for a hand (body.handheld), and
// once touched it shows controls of its own: the four directions (held, they repeat as a held
// key does), pause, mute, fullscreen and a quit that asks first. On the picture, a tap goes to
// the program as a tap at a point of the picture (the program turns a tap on a face into the
// Left or Right keys it takes) and a short vertical swipe sends the chosen pilot a row up or
// down. Every touch reaches the game as its own keys. A key or the mouse puts the controls
// away again.
"use strict";
(() => {
  const page = window.SevenChipsPage;
  const body = document.body;
  const $ = (id) => document.getElementById(id);
  const canvas = $("screen");
  const touching = (e) => e.pointerType === "touch" || e.pointerType === "pen";

  // The hand-held layout: a coarse pointer (a phone, a tablet), or touch as the input in use.
  const coarse = window.matchMedia("(pointer: coarse)");
  function layout() {
    const handheld = coarse.matches || body.dataset.input === "touch";
    if (body.classList.contains("handheld") === handheld) return;
    body.classList.toggle("handheld", handheld);
    page.fit();
  }
  coarse.addEventListener("change", layout);
  new MutationObserver(layout).observe(body, { attributes: true, attributeFilter: ["data-input"] });
  layout();

  // What the player touches with decides what the page shows.
  window.addEventListener("pointerdown", (e) => page.use(touching(e) ? "touch" : "mouse"), true);
  window.addEventListener("keydown", () => page.use("keys"), true);
  // No long-press menu on the picture or the controls.
  window.addEventListener("contextmenu", (e) => { if (body.dataset.input === "touch") e.preventDefault(); });

  // ---- the directions: pressed, the key at once; held, it repeats ----
  const held = new Map();  // pointerId -> the repeat's timer
  function release(e) {
    const timer = held.get(e.pointerId);
    if (timer === undefined) return;
    clearTimeout(timer);
    held.delete(e.pointerId);
    e.currentTarget.classList.remove("held");
  }
  for (const button of document.querySelectorAll("#arrows button")) {
    const code = Number(button.dataset.key);
    button.addEventListener("pointerdown", (e) => {
      if (!touching(e)) return;
      e.preventDefault();
      button.setPointerCapture(e.pointerId);
      button.classList.add("held");
      page.push(code);
      const again = (ms) => held.set(e.pointerId, setTimeout(() => {
        if (!page.running) return;
        page.push(code);
        again(page.repeat.every);
      }, ms));
      again(page.repeat.delay);
    });
    for (const end of ["pointerup", "pointercancel", "lostpointercapture"]) button.addEventListener(end, release);
  }

  // ---- pause, mute, fullscreen, and quit after a question ----
  const mute = $("touch-mute");
  const showMute = () => mute.setAttribute("aria-pressed", String(page.muted));
  showMute();
  $("touch-pause").addEventListener("click", () => page.togglePause());
  mute.addEventListener("click", () => { page.toggleMute(); showMute(); });
  window.addEventListener("keydown", showMute);  // after the page's own listener: M has muted
  $("touch-fullscreen").addEventListener("click", () => page.toggleFullscreen());

  // The battle stands still while the question is asked, and goes on if the answer is no.
  let pausedToAsk = false;
  const ask = $("ask");
  $("touch-quit").addEventListener("click", () => {
    if (!page.running || !ask.hidden) return;
    pausedToAsk = !page.paused;
    if (pausedToAsk) page.togglePause();
    ask.hidden = false;
  });
  $("quit").addEventListener("click", () => {
    ask.hidden = true;
    // The game's last picture without the question's pause; the click follows at once (no
    // tick between), and quits as a click does, paused or not.
    if (pausedToAsk && page.paused) page.togglePause();
    page.push(page.codes.CLICK, 400, 300);
  });
  $("stay").addEventListener("click", () => {
    ask.hidden = true;
    if (pausedToAsk && page.paused) page.togglePause();
  });
  // A game that ends meanwhile takes the question with it.
  new MutationObserver(() => { if (body.dataset.state !== "playing") ask.hidden = true; })
    .observe(body, { attributes: true, attributeFilter: ["data-state"] });

  // ---- the picture: a tap, or a short vertical swipe ----
  const SLOP = 12;  // CSS pixels a tap may wander
  const swipeLength = () => Math.max(24, canvas.getBoundingClientRect().height * 0.08);
  const strokes = new Map();  // pointerId -> { x, y, swiped }
  canvas.addEventListener("pointerdown", (e) => {
    if (!touching(e) || !page.running) return;
    e.preventDefault();
    strokes.set(e.pointerId, { x: e.clientX, y: e.clientY, swiped: false });
  });
  canvas.addEventListener("pointermove", (e) => {
    const stroke = strokes.get(e.pointerId);
    if (!stroke || stroke.swiped) return;
    const dx = e.clientX - stroke.x, dy = e.clientY - stroke.y;
    if (Math.abs(dy) >= swipeLength() && Math.abs(dy) > 1.5 * Math.abs(dx)) {
      stroke.swiped = true;  // one row for one swipe, however long
      page.push(dy < 0 ? page.keys.UP : page.keys.DOWN);
    }
  });
  canvas.addEventListener("pointerup", (e) => {
    const stroke = strokes.get(e.pointerId);
    strokes.delete(e.pointerId);
    if (!stroke || stroke.swiped || Math.hypot(e.clientX - stroke.x, e.clientY - stroke.y) > SLOP) return;
    const at = page.picturePoint(stroke.x, stroke.y);
    page.push(page.codes.TAP, at.x, at.y);
  });
  canvas.addEventListener("pointercancel", (e) => strokes.delete(e.pointerId));
})();
