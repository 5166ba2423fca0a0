// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 22,
  reportType: "RT_POLISH",
  dateTime: "2025-07-14 21:34:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.14 ct"],
    ["Measurements", "6.70 × 6.74 × 4.15 mm"],
    ["Colour grade", "F"],
    ["Clarity grade", "VS2"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
