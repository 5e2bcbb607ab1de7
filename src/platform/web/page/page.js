// The page around the game: the start screen, the canvas and its whole-number scaling, the
// keys and clicks handed to the program, fullscreen, the settings and clear file kept in the
// browser's storage, and the end of a game with its recording.
// The page's state is in document.body.dataset.state: loading, start, playing, ended, failed;
// data-paused is on the body while the program pauses the battle, data-input names the
// input last used (keys, mouse, touch, pad), and data-fetched is there once the files fetched
// after the start screen (the music) have come. window.SevenChipsPage is what the page's other
// scripts (touch.js, pad.js, awake.js) use: push(code, x, y) hands the program an input,
// begin() starts a game from the start screen as a key does, and the toggles below.
// For tests, window.sevenchips has the last game's recording (its text) and audioState(), the
// state of the page's audio ("running", "suspended", "closed", or "none"); with
// ?shots=start,260,end it keeps in shots[moment] the canvas's RGBA bytes at those moments (the
// replay tool's --shot moments).
"use strict";
(() => {
  const params = new URLSearchParams(location.search);
  const speed = Math.min(Math.max(Number(params.get("speed")) || 1, 0.1), 64);
  const tracing = params.get("trace") === "1";
  const shots = params.get("shots");

  // Input codes beside the game's key codes (see src/platform/web/page_bridge.hpp).
  const CLICK = 1, TAP = 2, PAUSE = 1001, WINDOW_LEFT = 1002, MUTE_OFF = 1003, MUTE_ON = 1004;
  const GAME_KEYS = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Enter: 13, NumpadEnter: 13, Escape: 27 };

  const canvas = document.getElementById("screen");
  // Desynchronized: the canvas's pictures skip a step of the browser's compositing, which at
  // ten pictures a second costs the browser a quarter of its CPU in battle.
  const context = canvas.getContext("2d", { alpha: false, desynchronized: true });
  // The picture the canvas shows: the program's own pixels (a view of its memory, made anew
  // when the memory grows), so nothing is copied on the way.
  let picture = context.createImageData(800, 600);
  const $ = (id) => document.getElementById(id);
  const setState = (s) => { document.body.dataset.state = s; };

  // ---- storage (storage.js): damaged or missing entries give the defaults ----
  const SETTINGS = "sevenchips.settings", CLEAR = "sevenchips.clear";
  function loadSettings() {
    const defaults = { muted: false, language: null };
    try {
      const kept = JSON.parse(PageStorage.get(SETTINGS));
      if (kept && typeof kept === "object") {
        if (typeof kept.muted === "boolean") defaults.muted = kept.muted;
        if (typeof kept.language === "string") defaults.language = kept.language;
      }
    } catch (e) { /* damaged: the defaults */ }
    return defaults;
  }
  const store = (key, value) => PageStorage.set(key, value);
  const storedClearFile = () => PageStorage.get(CLEAR);
  const settings = loadSettings();
  // The language of the game's words, once the build's languages are known: the address's
  // choice is remembered, as --lang is, but only if this build has it (the program refuses
  // any other, and a later visit must not fail the same way); a remembered one this build
  // lacks gives way to the game's own.
  let language = null;
  function chooseLanguage(languages) {
    const asked = params.get("lang");
    if (asked) {
      if (languages.includes(asked)) {
        settings.language = asked;
        store(SETTINGS, JSON.stringify(settings));
      }
      return asked;
    }
    if (settings.language && !languages.includes(settings.language)) {
      console.warn("sevenchips: the remembered language '" + settings.language + "' is not in this build; the game speaks its own, Japanese");
      return null;
    }
    return settings.language;
  }

  // ---- the canvas: centred in its part of the page (#view), scaled by a whole number of
  // device pixels (or shrunk to fit a window smaller than the picture); on a hand-held
  // screen (body.handheld, touch.js) as large as fits ----
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const handheld = document.body.classList.contains("handheld");
    const keys = document.fullscreenElement ? 0 : $("keys").offsetHeight;
    const view = handheld ? $("view").getBoundingClientRect() : { width: window.innerWidth, height: window.innerHeight - keys };
    const fits = Math.min(view.width * ratio / 800, view.height * ratio / 600);
    const scale = fits >= 1 && !handheld ? Math.floor(fits) : Math.max(fits, 0.25);
    // The frame: the canvas fills it, and the panels over it take their measures from it.
    $("frame").style.width = (800 * scale / ratio) + "px";
    $("frame").style.height = (600 * scale / ratio) + "px";
  }
  window.addEventListener("resize", fit);
  document.addEventListener("fullscreenchange", fit);
  fit();
  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else {
      // A phone turns the picture sideways where the browser lets the page say so.
      $("stage").requestFullscreen().then(() => screen.orientation.lock("landscape")).catch(() => {});
    }
  }
  $("fullscreen").addEventListener("click", () => { toggleFullscreen(); canvas.focus(); });
  // Only where fullscreen is allowed: a frame needs allow="fullscreen", some phones have none.
  if (!document.fullscreenEnabled) $("fullscreen").hidden = true;

  // ---- the data: fetched while the start screen shows ----
  async function fetchBytes(url) {
    const r = await fetch(url);
    if (!r.ok) throw new Error(url + ": " + r.status + " " + r.statusText);
    return new Uint8Array(await r.arrayBuffer());
  }
  // The music (bg/) is a third of the site: it is fetched after the first program is ready,
  // so that on a slow network the start screen does not wait for it, and a game begun before
  // it arrives starts its music then. `late`: each such file's path in the program's files ->
  // the promise of its bytes while they come, then null if they did not (the music is then
  // silent, as a missing file's is). data-fetched is on the body once all have come or failed.
  const fetchedLater = (name) => name.startsWith("bg/");
  const late = new Map();
  function fetchLate(names) {
    if (late.size) return;
    const fetched = names.map((name) => {
      const bytes = fetchBytes(name).catch(() => { late.set("/game/" + name, null); return null; });
      late.set("/game/" + name, bytes);
      return bytes;
    });
    Promise.all(fetched).then(() => document.body.setAttribute("data-fetched", ""));
  }
  const data = (async () => {
    // Browsers let a page opened from a file fetch nothing of its own.
    if (location.protocol === "file:") {
      throw new Error("opened as a file: the game must come from a web server (any static one, or ./dev web --serve)");
    }
    const manifest = await (await fetch("data.json")).json();
    language = chooseLanguage(Array.isArray(manifest.languages) ? manifest.languages : ["ja"]);
    const files = await Promise.all(manifest.files.filter((name) => !fetchedLater(name)).map(async (name) => {
      try { return [name, await fetchBytes(name)]; } catch (e) { return [name, null]; }  // missing: silent
    }));
    const font = await fetchBytes(manifest.font);
    return { files, font, later: manifest.files.filter(fetchedLater) };
  })();

  // ---- one game: a fresh program each time, made ready before the player acts ----
  // The input for the program, and the wake-up of its sleep: input ends a sleep early.
  let queue = [], running = false, wakeUp = null;
  function push(code, x = 0, y = 0) {
    if (!running) return;
    queue.push({ code, x, y });
    if (wakeUp) Promise.resolve().then(wakeUp);  // after this handler, not inside it
  }

  // `holder.program` is the program the page object serves (set once it has loaded).
  function pageFor(holder) {
    // A file's bytes, the promise of them while they are still coming, or null.
    const read = (name) => {
      if (late.has(name)) return late.get(name);
      try { return holder.program.FS.readFile(name); } catch (e) { return null; }
    };
    return {
      takeInput: () => queue.shift() || null,
      wait(ms, resume) {
        let done = false;
        const wake = () => {
          if (done) return;  // each sleep ends once
          done = true;
          if (wakeUp === wake) wakeUp = null;
          clearTimeout(timer);
          resume();
        };
        const timer = setTimeout(wake, ms);
        wakeUp = wake;
      },
      show(memory, at, dx, dy, x, y, w, h) {
        if (picture.data.buffer !== memory || picture.data.byteOffset !== at) {
          picture = new ImageData(new Uint8ClampedArray(memory, at, 800 * 600 * 4), 800, 600);
        }
        if ((dx || dy) && w === 800 && h === 600) {  // the screen shaken: black where it was
          context.fillStyle = "#000";
          if (dx > 0) context.fillRect(0, 0, dx, 600);
          if (dx < 0) context.fillRect(800 + dx, 0, -dx, 600);
          if (dy > 0) context.fillRect(0, 0, 800, dy);
          if (dy < 0) context.fillRect(0, 600 + dy, 800, -dy);
        }
        context.putImageData(picture, dx, dy, x, y, w, h);
      },
      muted: () => settings.muted,
      speed: () => speed,
      keepClearFile(path) {
        try { store(CLEAR, new TextDecoder().decode(holder.program.FS.readFile(path))); } catch (e) { console.warn("sevenchips: " + e); }
      },
      progress(ticks, ms) { if (watching) window.SevenChipsWatch.progress(ticks, ms); },
      paused(on) {
        document.body.toggleAttribute("data-paused", on);
        if (watching) window.SevenChipsWatch.paused();
      },
      ended(recording) {
        running = false;
        document.body.removeAttribute("data-paused");
        const watchedRun = watching ? offered.run : null;
        watching = false;
        document.body.dataset.watching = false;
        window.SevenChipsWatch.end();
        const link = $("download");
        link.hidden = true;
        try {
          const text = holder.program.FS.readFile(recording, { encoding: "utf8" });
          if (link.href) URL.revokeObjectURL(link.href);
          link.href = URL.createObjectURL(new Blob([text], { type: "text/plain" }));
          link.hidden = false;
          window.sevenchips.recording = text;
          window.SevenChipsLinks.ended(text, watchedRun);
        } catch (e) { /* nothing recorded */ }
        $("end").hidden = false;
        setState("ended");
        prepare();
      },
      keepPicture(when) { window.sevenchips.shots[when] = context.getImageData(0, 0, 800, 600).data; },
      // The sound: one context for the page, made in the player's first input.
      openSound(muted, musicGain, effectGain) {
        if (!window.AudioContext && !window.webkitAudioContext) return false;  // the program says so
        try {
          if (!sound) sound = new PageSound(muted, musicGain, effectGain);
          sound.setMuted(muted);
          sound.hold(false);
          return true;
        } catch (e) {
          console.warn("sevenchips: " + e);
          return false;
        }
      },
      setMuted: (muted) => sound.setMuted(muted),
      holdSound: (on) => sound.hold(on),
      openMusic: (name) => sound.openMusic(name, read),
      music(command) {
        if (command === 1) sound.playMusic();
        else if (command === 2) sound.stopMusic();
        else if (command === 3) sound.seekMusic();
        else sound.closeMusic();
      },
      musicPlaying: () => sound.musicPlaying(),
      playEffect: (name) => sound.playEffect(name, read),
      closeSound: () => sound && sound.close(),
      failed(why) { fail(new Error(why)); },
    };
  }

  function fail(error) {
    running = false;
    console.error("sevenchips:", error);
    $("why").textContent = String(error.message || error);
    $("start").hidden = true;
    $("end").hidden = true;
    $("failed").hidden = false;
    setState("failed");
  }

  // The next program, loaded with its files; `ready` once it can start at once.
  let next = null, ready = null;
  function prepare() {
    ready = null;
    next = (async () => {
      const holder = {};
      // The program loads while the data comes.
      const made = SevenChips({
        page: pageFor(holder),
        print: (line) => console.log(line),
        printErr: (line) => console.warn(line),
      });
      const [{ files, font, later }, program] = await Promise.all([data, made]);
      holder.program = program;
      const FS = program.FS;
      for (const dir of ["/game", "/game/bg", "/game/se", "/fonts", "/run"]) FS.mkdir(dir);
      for (const [name, bytes] of files) if (bytes) FS.writeFile("/game/" + name, bytes);
      // A file still coming is there for the program to find; the page reads its bytes.
      for (const name of later) if (late.get("/game/" + name) !== null) FS.writeFile("/game/" + name, new Uint8Array(0));
      FS.writeFile("/fonts/face.ttf", font);  // where the program looks for its face
      ready = program;
      if (document.body.dataset.state === "loading") setState("start");
      fetchLate(later);
      return program;
    })();
    next.catch(fail);
  }

  let sound = null;
  window.sevenchips = {
    recording: null,
    shots: {},
    audioState: () => (sound ? sound.context.state : "none"),
  };
  // Runs in the player's own input handler when the program is ready, so the browser lets
  // its sound start.
  // `watch`: the offered run is watched, rather than a new game played.
  function run(program, watch) {
    const clear = storedClearFile();
    if (clear !== null) program.FS.writeFile("/game/se/da.txt", clear);
    const args = ["--app-dir", "/game/", "--record", "/run/recording.keys"];
    if (language) args.push("--lang", language);
    watching = watch && !!offered.bytes;
    document.body.dataset.watching = watching;
    if (watching) {
      program.FS.writeFile("/run/watched.keys", offered.bytes);
      args.push("--play", "/run/watched.keys");
      window.SevenChipsWatch.begin(offered.run);
    }
    if (tracing) args.push("--trace", "/dev/stdout");
    if (shots) args.push("--shots", shots);
    queue = [];
    document.body.removeAttribute("data-paused");
    $("end").hidden = true;
    $("start").hidden = true;
    setState("playing");
    running = true;
    canvas.focus();
    program.callMain(args);
  }

  // The first input only starts the game: the offered run is watched, if there is one, unless
  // the player asked for a new game.
  let starting = false;
  function begin(e, watch = true) {
    if (starting || running || document.body.dataset.state === "failed") return;
    if (e) e.preventDefault();
    starting = true;
    const go = (program) => { starting = false; run(program, watch); };
    // In the player's own handler when it can (the browser then lets the sound start); a run
    // still being read is waited for, as the first key watches it.
    if (ready && !reading) go(ready);
    else Promise.all([next, offering]).then(([program]) => go(program), fail);
  }
  $("start").addEventListener("click", (e) => begin(e));
  $("again").addEventListener("click", () => begin(null, false));
  $("new-game").addEventListener("click", (e) => { e.stopPropagation(); begin(e, false); });
  prepare();

  // ---- watching a run: what links.js and watch.js use ----
  let offered = { bytes: null, run: null }, offering = Promise.resolve(), reading = false;
  let watching = false;

  window.addEventListener("keydown", (e) => {
    if (e.key === "F11") {
      e.preventDefault();
      if (!e.repeat) toggleFullscreen();
      return;
    }
    if (!running) {
      if (document.body.dataset.state !== "ended" && !e.repeat && !e.ctrlKey && !e.altKey && !e.metaKey) begin(e);
      return;
    }
    if (e.ctrlKey || e.altKey || e.metaKey) return;
    if (watching && window.SevenChipsWatch.key(e)) return;
    const code = GAME_KEYS[e.key] || GAME_KEYS[e.code];
    if (code) {
      e.preventDefault();
      push(code);  // held down, it repeats, as the game expects
    } else if ((e.key === "p" || e.key === "P" || e.key === "Pause") && !e.repeat) {
      push(PAUSE);
    } else if ((e.key === "m" || e.key === "M") && !e.repeat) {
      toggleMute();
    }
  });
  function toggleMute() {
    settings.muted = !settings.muted;
    store(SETTINGS, JSON.stringify(settings));
    push(settings.muted ? MUTE_ON : MUTE_OFF);
  }
  // A point of the page in the picture's 800 x 600 pixels.
  function picturePoint(clientX, clientY) {
    const r = canvas.getBoundingClientRect();
    return { x: Math.floor((clientX - r.left) * 800 / r.width), y: Math.floor((clientY - r.top) * 600 / r.height) };
  }
  // Only the mouse's click quits: a touch's tap (touch.js) also brings emulated mouse events,
  // which pointer events leave out.
  canvas.addEventListener("pointerdown", (e) => {
    if (e.pointerType !== "mouse" || e.button !== 0 || !running) return;
    const at = picturePoint(e.clientX, e.clientY);
    push(CLICK, at.x, at.y);
  });
  window.SevenChipsPage = {
    keys: { LEFT: 37, UP: 38, RIGHT: 39, DOWN: 40, ENTER: 13, ESCAPE: 27 },
    codes: { CLICK, TAP, PAUSE },
    // How a held direction repeats, as a held key does: after half a second, twenty a second.
    repeat: { delay: 500, every: 50 },
    push,
    begin() { if (document.body.dataset.state !== "ended") begin(); },
    get running() { return running; },
    get paused() { return document.body.hasAttribute("data-paused"); },
    get muted() { return settings.muted; },
    togglePause: () => push(PAUSE),
    toggleMute,
    toggleFullscreen,
    // The input last used; the page's look follows it (the touch controls show for "touch").
    use(kind) {
      if (document.body.dataset.input === kind) return;
      document.body.dataset.input = kind;
      fit();
    },
    fit,
    picturePoint,
    // ---- watching a run (links.js, watch.js) ----
    get state() { return document.body.dataset.state; },
    focusGame: () => canvas.focus(),
    // The run the start screen offers (bytes: a key script or a link; run: what it reached).
    offerRun(bytes, run) {
      offered = { bytes, run };
      $("new-game").hidden = !bytes;
    },
    // `promise` settles once the run offered is known.
    reading(promise) {
      reading = true;
      const done = () => { if (offering === promise) reading = false; };
      offering = promise;
      promise.then(done, done);
    },
    // The player plays on from the run: keys are the game's again.
    watchingEnds() {
      watching = false;
      document.body.dataset.watching = false;
      window.SevenChipsWatch.end();
    },
  };
  window.SevenChipsPage.reading(window.SevenChipsLinks.fromPage());
  window.addEventListener("blur", () => push(WINDOW_LEFT));
  document.addEventListener("visibilitychange", () => { if (document.hidden) push(WINDOW_LEFT); });
})();
