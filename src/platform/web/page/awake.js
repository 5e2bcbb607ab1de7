// The screen stays awake while a battle runs (the Screen Wake Lock API), and may sleep while
// the game is paused, once it has ended, or before it starts. The browser lets a hidden page
// go of its lock; it is taken again when the page shows.
"use strict";
(() => {
  if (!navigator.wakeLock) return;
  const body = document.body;
  let lock = null, asking = false;
  const wanted = () => body.dataset.state === "playing" && !body.hasAttribute("data-paused") && !document.hidden;

  async function update() {
    if (wanted() && !lock && !asking) {
      asking = true;
      try {
        const taken = lock = await navigator.wakeLock.request("screen");
        taken.addEventListener("release", () => {
          if (lock !== taken) return;  // let go by update() itself
          lock = null;
          update();
        });
      } catch (e) {
        // Refused (a low battery, a policy): the screen sleeps as it would.
      }
      asking = false;
      if (lock && !wanted()) update();
    } else if (!wanted() && lock) {
      const was = lock;
      lock = null;
      was.release().catch(() => {});
    }
  }
  new MutationObserver(update).observe(body, { attributes: true, attributeFilter: ["data-state", "data-paused"] });
  document.addEventListener("visibilitychange", update);
})();
